// What the toolkit's tests share: an application object with the shared window class,
// a window class that hands its messages to a form under test, and a 32-bit canvas to
// paint into and read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/global_module.h"
#include "ui/kt_form.h"

namespace ui_testing {

// A top-down 32-bit DIB selected into a memory device context, filled with fill.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return m_dc; }
  HBITMAP bitmap() const { return m_bitmap; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  // The pixel's bytes as 0xAARRGGBB (GDI leaves alpha as it finds it).
  uint32_t Pixel(int x, int y) const;
  // Same size and same bytes.
  bool SameAs(const Canvas& other) const;

 private:
  int m_width, m_height;
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_old = nullptr;
  uint32_t* m_bits = nullptr;
};

inline int Red(uint32_t p) { return (p >> 16) & 0xFF; }
inline int Green(uint32_t p) { return (p >> 8) & 0xFF; }
inline int Blue(uint32_t p) { return p & 0xFF; }
inline int Alpha(uint32_t p) { return (p >> 24) & 0xFF; }

// The class name of windows whose messages go to the CKTForm stored in their
// GWLP_USERDATA (see Attach).
const wchar_t* FormClass();
// Creates form's window of FormClass and routes its messages to the form.
bool CreateTestForm(CKTForm& form, int width, int height);

// A fresh application object over a clean settings file, with the shared window
// class registered from this program's resources.
std::unique_ptr<CGlobalModule> MakeModule();

}  // namespace ui_testing

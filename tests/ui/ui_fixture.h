// What the toolkit's tests share: window classes that hand their messages to a form
// under test, the environment forms are made with, and a 32-bit canvas to paint into and
// read back.
#pragma once

#include <windows.h>

#include <cstdint>

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

// A class whose windows hand every message to the form stored in their GWLP_USERDATA
// (see Attach) and return its answer, as the program's own class does for forms that do
// their own default processing (the background and page windows); DefWindowProcW until
// a form is attached.
const wchar_t* RoutedFormClass();
// Routes form's window (made with RoutedFormClass) to form.
void Attach(CKTForm& form);
// What the forms under test are made with: this program, RoutedFormClass, the program's
// window name.
FormEnvironment Environment(bool topMost = false);

}  // namespace ui_testing

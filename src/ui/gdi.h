// Scoped owners of the device contexts and selections the toolkit paints with. Each
// gives back what it took on every path; copying is deleted.
#pragma once

#include <windows.h>

// A window's device context from GetDC, released with ReleaseDC.
class CWindowDC {
 public:
  explicit CWindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
  ~CWindowDC() {
    if (m_dc != nullptr) ReleaseDC(m_window, m_dc);
  }
  CWindowDC(const CWindowDC&) = delete;
  CWindowDC& operator=(const CWindowDC&) = delete;
  HDC get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// A memory device context compatible with the screen, deleted with DeleteDC.
class CMemoryDC {
 public:
  CMemoryDC() : m_dc(CreateCompatibleDC(nullptr)) {}
  ~CMemoryDC() {
    if (m_dc != nullptr) DeleteDC(m_dc);
  }
  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;
  HDC get() const { return m_dc; }

 private:
  HDC m_dc;
};

// An object (font, bitmap) selected into a context for one scope; the earlier one comes
// back at the end. selected() is false when the selection was refused, for example for a
// bitmap that is selected into another context.
class CSelectedObject {
 public:
  CSelectedObject(HDC dc, HGDIOBJ object)
      : m_dc(dc), m_old(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~CSelectedObject() {
    if (m_old != nullptr) SelectObject(m_dc, m_old);
  }
  CSelectedObject(const CSelectedObject&) = delete;
  CSelectedObject& operator=(const CSelectedObject&) = delete;
  bool selected() const { return m_old != nullptr; }

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

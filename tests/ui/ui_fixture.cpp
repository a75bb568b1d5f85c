#include "ui_fixture.h"

#include <cstring>

#include "ui/picture.h"

namespace ui_testing {

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
  void* bits = nullptr;
  m_bitmap = CreateArgbBitmap(width, height, &bits);
  m_bits = static_cast<uint32_t*>(bits);
  m_dc = CreateCompatibleDC(nullptr);
  m_old = SelectObject(m_dc, m_bitmap);
  const uint32_t value = GetRValue(fill) << 16 | GetGValue(fill) << 8 | GetBValue(fill);
  for (int i = 0; i < width * height; ++i) m_bits[i] = value;
}

Canvas::~Canvas() {
  SelectObject(m_dc, m_old);
  DeleteDC(m_dc);
  DeleteObject(m_bitmap);
}

uint32_t Canvas::Pixel(int x, int y) const {
  GdiFlush();
  return m_bits[y * m_width + x];
}

bool Canvas::SameAs(const Canvas& other) const {
  GdiFlush();
  return m_width == other.m_width && m_height == other.m_height &&
         std::memcmp(m_bits, other.m_bits, sizeof(uint32_t) * m_width * m_height) == 0;
}

namespace {

CKTForm* FormOf(HWND window) {
  return reinterpret_cast<CKTForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CKTForm* form = FormOf(window);
  if (form != nullptr && form->WindowProc(window, message, wParam, lParam) == 0) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK RoutedFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CKTForm* form = FormOf(window);
  if (form != nullptr) return form->WindowProc(window, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* RegisterFormClass(const wchar_t* name, WNDPROC procedure, UINT style) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
  return name;
}

}  // namespace

const wchar_t* FormClass() {
  static const wchar_t* name = RegisterFormClass(L"OvrinToolkitTest", FormProc, CS_DBLCLKS);
  return name;
}

const wchar_t* RoutedFormClass() {
  static const wchar_t* name = RegisterFormClass(L"OvrinToolkitRouted", RoutedFormProc,
                                                 CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
  return name;
}

void Attach(CKTForm& form) {
  SetWindowLongPtrW(form.GetHwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&form));
}

FormEnvironment Environment(bool topMost) {
  FormEnvironment environment;
  environment.instance = GetModuleHandleW(nullptr);
  environment.className = RoutedFormClass();
  environment.windowTitle = L"LireloDrelkin";
  environment.topMost = topMost;
  return environment;
}

bool CreateTestForm(CKTForm& form, int width, int height) {
  SetRect(&form.m_rcControl, 0, 0, width, height);
  if (!form.Create(FormClass(), L"test", GetModuleHandleW(nullptr), nullptr)) return false;
  Attach(form);
  return true;
}

}  // namespace ui_testing

#include "ui_fixture.h"

#include <cstring>

#include "app/entry.h"
#include "ui/picture.h"
#include "support/test_support.h"

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

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<CKTForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form != nullptr && form->WindowProc(window, message, wParam, lParam) == 0) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

const wchar_t* FormClass() {
  static const wchar_t* name = [] {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = FormProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"OvrinToolkitTest";
    RegisterClassExW(&windowClass);
    return L"OvrinToolkitTest";
  }();
  return name;
}

bool CreateTestForm(CKTForm& form, int width, int height) {
  SetRect(&form.m_rcControl, 0, 0, width, height);
  if (!form.Create(FormClass(), L"test", GetModuleHandleW(nullptr), nullptr)) return false;
  SetWindowLongPtrW(form.GetHwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&form));
  return true;
}

std::unique_ptr<CGlobalModule> MakeModule() {
  testing_support::ResetSettings();
  auto module = std::make_unique<CGlobalModule>(L"KeltoOvrin.exe");
  // A second registration in the same process fails harmlessly: the class stays.
  RegisterWindowClass(*module, GetModuleHandleW(nullptr));
  return module;
}

}  // namespace ui_testing

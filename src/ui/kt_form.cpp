#include "ui/kt_form.h"

#include "app/global_module.h"

namespace {
constexpr wchar_t kGameTitle[] = L"Morvessa";
}

CKTForm::CKTForm() : m_bTracking(false), m_bHoverSeen(false), m_hWndForm(nullptr) {}

// The controls are members of the concrete window and the window outlives nothing here.
CKTForm::~CKTForm() { m_controls.clear(); }

bool CKTForm::Create(const wchar_t* className, const wchar_t* windowName, HINSTANCE instance,
                     HWND parent) {
  if (m_hWndForm != nullptr) return true;
  m_hWndForm = CreateWindowExW(0, className, windowName, WS_POPUP, m_rcControl.left,
                               m_rcControl.top, m_rcControl.right, m_rcControl.bottom, parent,
                               nullptr, instance, nullptr);
  SetWindowTextW(m_hWndForm, kGameTitle);
  return m_hWndForm != nullptr;
}

bool CKTForm::Close() {
  if (m_hWnd != nullptr) SetFocus(m_hWnd);
  if (m_hWndForm != nullptr) DestroyWindow(m_hWndForm);
  return true;
}

HWND CKTForm::GetHwnd() { return m_hWndForm; }

LRESULT CKTForm::WindowProc(HWND, UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    default:
      return 1;
  }
}

BOOL CKTForm::PreTranslateMessage(MSG*) { return TRUE; }

void ShowOffscreen(CKTForm& form) {
  const HWND window = form.GetHwnd();
  LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  style = (style & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW;
  SetWindowLongPtrW(window, GWL_EXSTYLE, style);
  const HWND order = App().topMost == 1 ? HWND_TOPMOST : HWND_TOP;
  SetWindowPos(window, order, -2000, -2000, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

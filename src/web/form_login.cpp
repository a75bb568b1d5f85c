#include "web/form_login.h"

#include "app/global_module.h"
#include "app/messages.h"
#include "ui/colors.h"

namespace {

// No popup frame, but a system menu and minimize box, so the shell treats the window as
// an ordinary top-level window (Alt+F4, minimizing with its owner).
void ApplyLoginStyle(HWND window) {
  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  style = (style & 0x7F30FF7F) | 0x000A0000;
  SetWindowLongPtrW(window, GWL_STYLE, style);
}

}  // namespace

bool CFormLogin::Initialize() {
  CGlobalModule& app = App();
  if (!Create(app.windowClassName, app.windowTitle, app.instance, app.formBack.GetHwnd()))
    return false;
  const HWND window = GetHwnd();
  ApplyLoginStyle(window);
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle = (exStyle & 0xFFFFFE7E) | WS_EX_LAYERED;
  if (app.topMost == 1) exStyle |= WS_EX_TOPMOST;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  // Every pixel of the key colour is see-through and lets clicks reach the background
  // window below.
  SetLayeredWindowAttributes(window, kColorKey, 0, LWA_COLORKEY);
  return true;
}

bool CFormLogin::CreateBare() {
  CGlobalModule& app = App();
  if (!Create(app.windowClassName, app.windowTitle, app.instance, nullptr)) return false;
  const HWND window = GetHwnd();
  ApplyLoginStyle(window);
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle = (exStyle & 0xFFFBFEFE) | WS_EX_TOOLWINDOW;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  return true;
}

bool IsKeyForLoginPage(UINT message, WPARAM key, bool controlDown) {
  if (message < WM_KEYFIRST || message > WM_KEYLAST) return false;
  if (message == WM_KEYUP) return true;
  if (controlDown && (key == 'C' || key == 'V' || key == 'X' || key == 'Z')) return true;
  return key == VK_TAB || key == VK_RETURN || key == VK_DELETE;
}

BOOL CFormLogin::PreTranslateMessage(MSG* msg) {
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) {
    if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN) {
      POINT origin = {0, 0};
      ClientToScreen(GetHwnd(), &origin);
      SetWindowPos(App().formBack.GetHwnd(), HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE);
    }
    return FALSE;
  }
  if (!IsKeyForLoginPage(msg->message, msg->wParam, GetKeyState(VK_CONTROL) < 0)) return FALSE;
  // The page's view takes the forwarded keys once the window hosts one.
  return FALSE;
}

LRESULT CFormLogin::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (CKTForm::WindowProc(hwnd, msg, wParam, lParam) == 0) return 0;
  switch (msg) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_OVRIN_QUIT_NOW:
      Close();
      return 0;
    case WM_OVRIN_CONFIRM_QUIT:
      if (MessageBoxW(hwnd, kQuitQuestion, kPromptCaption, MB_YESNO | MB_DEFBUTTON2) == IDNO)
        return 0;
      PostQuitMessage(0);
      Close();
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

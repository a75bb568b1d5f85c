#include "web/form_login.h"

#include <cwchar>

#include "base/files.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/open_url.h"
#include "base/strings.h"
#include "ui/colors.h"
#include "ui/image_ids.h"
#include "ui/picture.h"
#include "ui/window_styles.h"
#include "web/site.h"

namespace {

// The system's move loop, started as if the caption had been pressed.
constexpr WPARAM kDragMove = 0xF011;

// Where the page shows once it has loaded, in the window's client coordinates.
constexpr RECT kPageRect = {292, 257, 292 + 653, 257 + 385};

struct ButtonSpec {
  CKTButton CFormLogin::*button;
  WORD normal, hover, pressed;
  RECT rect;
};

// In the order the buttons are added, which is also their painting order.
const ButtonSpec kButtons[] = {
    {&CFormLogin::m_btnMinimize,
     IDB_LOGIN_MINIMIZE,
     IDB_LOGIN_MINIMIZE_HOVER,
     IDB_LOGIN_MINIMIZE_HOVER,
     {1021, 217, 1042, 231}},
    {&CFormLogin::m_btnClose,
     IDB_LOGIN_CLOSE,
     IDB_LOGIN_CLOSE_HOVER,
     IDB_LOGIN_CLOSE_HOVER,
     {978, 215, 1002, 238}},
    {&CFormLogin::m_btnHome,
     IDB_LOGIN_HOME,
     IDB_LOGIN_HOME_HOVER,
     IDB_LOGIN_HOME_HOVER,
     {326, 230, 404, 247}},
    {&CFormLogin::m_btnPay,
     IDB_LOGIN_PAY,
     IDB_LOGIN_PAY_HOVER,
     IDB_LOGIN_PAY_HOVER,
     {427, 231, 503, 247}},
    {&CFormLogin::m_btnService,
     IDB_LOGIN_SERVICE,
     IDB_LOGIN_SERVICE_HOVER,
     IDB_LOGIN_SERVICE_HOVER,
     {805, 229, 880, 246}},
    {&CFormLogin::m_btnHomeSecond,
     IDB_LOGIN_FORUM,
     IDB_LOGIN_FORUM_HOVER,
     IDB_LOGIN_FORUM_HOVER,
     {712, 230, 788, 246}},
};

}  // namespace

bool CFormLogin::Initialize(const FormEnvironment& environment, CFormBack& back, ILoginHost& host) {
  m_environment = environment;
  m_pBack = &back;
  m_pHost = &host;
  if (!Create(environment.className, environment.windowTitle, environment.instance, back.GetHwnd()))
    return false;
  const HWND window = GetHwnd();
  back.SetFollower(window);
  RestyleWindow(window, kFramelessStyleKeep);
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle = (exStyle & ~kFrameExStyles) | WS_EX_LAYERED;
  if (environment.topMost) exStyle |= WS_EX_TOPMOST;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  // Every pixel of the key colour is see-through and lets clicks reach the background
  // window below.
  SetLayeredWindowAttributes(window, kColorKey, 0, LWA_COLORKEY);

  m_imgBack.m_bPng = LoadPngResource(environment.instance, m_imgBack.m_image, IDB_LOGIN_BACK);
  m_imgBack.m_bTransparent = false;
  ::SetRect(&m_imgBack.m_rcSlice, 5, 5, 5, 5);
  m_imgBack.SetRect(RECT{0, 0, 1100, 800});
  AddControl(&m_imgBack);

  const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  for (const ButtonSpec& spec : kButtons) {
    CKTButton& button = this->*spec.button;
    button.LoadImages(environment.instance, spec.normal, spec.hover, spec.pressed);
    button.SetRect(spec.rect);
    button.m_hCursor = hand;
    AddControl(&button);
  }

  // Out of sight until the page has loaded; the window is shown by the completion.
  m_view.CreateBrowser(window, RECT{-100, -100, -50, -50}, L"about:blank");
  m_view.m_event.AddHandler(this, &CFormLogin::OnWebNotify);
  m_view.m_bBlockNewWindows = true;
  m_view.Navigate(host.GetLoginUrl());
  m_view.FocusDocument();

  // Inside the page's area, so it shows only while the view is moved away. Not drawn
  // yet: the label has no text and the window is not on screen.
  m_lblStatus.SetRect(RECT{458, 436, 778, 462});
  m_lblStatus.SetTextColor(0x00FFFF, false);
  m_lblStatus.SetUnderline(true, false);
  m_lblStatus.SetFontSize(26, 0, false);
  m_lblStatus.m_hCursor = hand;
  AddControl(&m_lblStatus);
  return true;
}

bool CFormLogin::CreateBare(const FormEnvironment& environment) {
  m_environment = environment;
  if (!Create(environment.className, environment.windowTitle, environment.instance, nullptr))
    return false;
  const HWND window = GetHwnd();
  RestyleWindow(window, kFramelessStyleKeep);
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle = (exStyle & ~kBareClearedExStyles) | WS_EX_TOOLWINDOW;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  return true;
}

// ---- Page notifications ----

void CFormLogin::OnWebNotify(unsigned id, WebNotifyWParam, WebNotifyLParam) {
  // A bare window has no view and hears nothing; this guards a caller that got it wrong.
  if (m_pHost == nullptr) return;
  switch (id) {
    case WEBNOTIFY_DOCUMENTCOMPLETE:
      m_pHost->OnLoginDocumentComplete();
      break;
    case WEBNOTIFY_NAVIGATEERROR:
      if (m_bReturned) break;
      WriteIniString(settings::kError, settings::kErrorUrl, m_view.GetUrl(), L"");
      ShowLoginWindow(true);
      m_pBack->ShowOnScreen(m_bRetrying);
      break;
    case WEBNOTIFY_BEFORENAVIGATE:
      OnBeforeNavigate();
      break;
    case WEBNOTIFY_NAVIGATECOMPLETE:
      if (m_bReturned) break;
      ShowLoginWindow(false);
      m_pBack->ShowOnScreen(m_bRetrying);
      m_pHost->OnLoginPageShown();
      break;
    case WEBNOTIFY_OPENOUTSIDE:
      OnOpenOutside();
      break;
    default:
      break;
  }
}

void CFormLogin::OnBeforeNavigate() {
  m_strLastUrl = m_view.GetUrl();
  // The rest of the address, later parameters included, is what the payment page gets.
  const size_t user = m_strLastUrl.find(site::kUserNameMarker);
  if (user != std::wstring::npos)
    m_pHost->SetUserName(m_strLastUrl.substr(user + std::wcslen(site::kUserNameMarker)));
  m_pHost->SetServerId(L"");
  if (!Contains(m_strLastUrl, site::kEnterGameMarker)) return;
  m_pHost->SetServerId(GetUrlParam(m_strLastUrl, site::kServerParam));
  // The login page stays; the game page opens in the game window instead.
  m_view.m_bCancelNavigate = true;
  m_strGameUrl = m_strLastUrl;
  PostMessageW(GetHwnd(), WM_OVRIN_ENTER_GAME, 0, 0);
}

void CFormLogin::OnOpenOutside() {
  const std::wstring url = m_view.GetUrl();
  if (!Contains(url, site::kOAuthMarker)) {
    OpenUrl(url.c_str());
    return;
  }
  m_view.m_bCancelNavigate = true;
  m_strOAuthUrl = url;
  PostMessageW(GetHwnd(), WM_OVRIN_OPEN_OAUTH, 0, 0);
}

// ---- Showing ----

void CFormLogin::ShowLoginWindow(bool networkError) {
  const HWND window = GetHwnd();
  const bool topMost = m_environment.topMost;
  SetTaskbarButton(window, false, topMost);
  const POINT origin = CentreInWorkArea(window);

  if (networkError) {
    MoveWindow(m_view.m_hWnd, -100, -100, 50, 50, FALSE);
    m_lblStatus.SetText(kNetworkErrorText, true);
    m_lblStatus.m_hCursor = LoadCursorW(nullptr, IDC_HAND);
  } else {
    MoveWindow(m_view.m_hWnd, kPageRect.left, kPageRect.top, kPageRect.right - kPageRect.left,
               kPageRect.bottom - kPageRect.top, FALSE);
  }

  // After a retry the window is already where the player can see it: it stays there.
  UINT flags = SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOSIZE;
  if (m_bRetrying) {
    flags |= SWP_NOMOVE;
  } else {
    ShowWindow(window, SW_HIDE);
  }
  SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_TOP, origin.x, origin.y, 0, 0, flags);
  ShowWindow(window, SW_SHOWNORMAL);
  // The controls were painted while the window was parked off-screen; Wine keeps no
  // pixels for those parts of a layered window, so the window paints itself again.
  InvalidateRect(window, nullptr, FALSE);
}

void CFormLogin::ReturnFromGame() {
  m_bReturned = true;
  if (m_pHost != nullptr) m_view.Navigate(m_pHost->GetLoginUrl());
}

// ---- Mouse ----

bool CFormLogin::OnLButtonDown(UINT nFlags, const POINT& pt) {
  CKTBaseControl* control = ControlAt(pt);
  if (control == nullptr) return false;
  if (control == &m_imgBack) {
    SendMessageW(GetHwnd(), WM_SYSCOMMAND, kDragMove, 0);
    return true;
  }
  return control->OnLButtonDown(nFlags, pt);
}

bool CFormLogin::OnLButtonUp(UINT nFlags, const POINT& pt) {
  CKTBaseControl* control = ControlAt(pt);
  if (control == nullptr) return false;
  control->OnLButtonUp(nFlags, pt);
  if (control == &m_btnMinimize) {
    // The login window is owned by the background window and goes with it.
    ShowWindow(m_pBack->GetHwnd(), SW_MINIMIZE);
    return true;
  }
  if (control == &m_btnClose) {
    if (MessageBoxW(GetHwnd(), kQuitQuestion, kPromptCaption, MB_YESNO | MB_DEFBUTTON2) != IDYES)
      return false;
    Close();
    return true;
  }
  if (control == &m_lblStatus) {
    // Only the error line retries; a click while the retry runs does nothing.
    if (Contains(m_lblStatus.GetText(), kErrorMarker)) {
      m_bRetrying = true;
      m_view.Navigate(m_pHost->GetLoginUrl());
      m_lblStatus.SetText(kRetryingText, true);
      m_lblStatus.m_hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    return true;
  }
  if (control == &m_btnService) {
    OpenUrl(site::ServiceUrl().c_str());
    return true;
  }
  if (control == &m_btnPay) {
    OpenUrl(m_pHost->GetPayUrl().c_str());
    return true;
  }
  if (control == &m_btnHome || control == &m_btnHomeSecond) {
    OpenUrl(site::HomePageUrl().c_str());
    return true;
  }
  return false;
}

// ---- Messages ----

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
      if (m_pBack != nullptr)
        SetWindowPos(m_pBack->GetHwnd(), HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE);
    }
    return FALSE;
  }
  if (!IsKeyForLoginPage(msg->message, msg->wParam, GetKeyState(VK_CONTROL) < 0)) return FALSE;
  return m_view.PreTranslateMessage(msg);
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

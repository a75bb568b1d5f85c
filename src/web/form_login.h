// The login window: the game site's login page and server list, its title buttons and
// links, and the closing of the program. One-shot runs use it bare, as the window that
// their completion closes.
#pragma once

#include <string>

#include "ui/form_back.h"
#include "ui/kt_button.h"
#include "ui/kt_form.h"
#include "ui/kt_image.h"
#include "ui/kt_label.h"
#include "web/browser_view.h"
#include "web/login_host.h"

class CFormLogin : public CKTForm {
 public:
  CFormLogin() = default;
  ~CFormLogin() override = default;

  // A press on the artwork drags the window; other controls get their own press.
  // False when no control lies under the point.
  bool OnLButtonDown(UINT nFlags, const POINT& pt) override;
  // The control's own release first, then what the click means: minimize, confirmed
  // close, retry from the error line, links to the user's browser. False when nothing
  // is under the point, for the artwork and for a declined close.
  bool OnLButtonUp(UINT nFlags, const POINT& pt) override;
  // Base handling first; then WM_DESTROY quits the program, WM_OVRIN_QUIT_NOW closes
  // the window and WM_OVRIN_CONFIRM_QUIT asks the player first.
  LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Asked only while the window is visible and in front. A click snaps the background
  // window back under the login window; the few keys the page needs (editing shortcuts,
  // Tab, Enter, Delete, key-up) go to the page, every other message goes on normally.
  BOOL PreTranslateMessage(MSG* msg) override;

  // Creates the window owned by the background window back, borderless and layered with
  // the shared colour key, with its artwork, buttons, status line and the view out of
  // sight, and starts loading host's login page. The window follows back from now on.
  // Main thread, OLE initialised. False when the window could not be made.
  virtual bool Initialize(const FormEnvironment& environment, CFormBack& back, ILoginHost& host);
  // Creates the window only: no controls, no page, never shown. False without a window.
  bool CreateBare(const FormEnvironment& environment);

  // The view's notifications: the requests to enter the game and for the OAuth popup
  // (posted to this window), new windows for the user's browser, the first completion
  // (window shown) and load errors (retry line).
  void OnWebNotify(unsigned id, WebNotifyWParam wParam, WebNotifyLParam lParam);
  // Places the view for the page, or out of sight behind the retry line, and shows the
  // window centred in the work area (in place once the player retried).
  void ShowLoginWindow(bool networkError);
  // The game window has closed: reloads the login page; from now on its completions
  // and errors leave the windows where they are.
  void ReturnFromGame();

  std::wstring GetGameUrl() const { return m_strGameUrl; }
  std::wstring GetOAuthUrl() const { return m_strOAuthUrl; }

  CKTImage m_imgBack;
  CKTButton m_btnMinimize;
  CKTButton m_btnClose;
  CKTButton m_btnHome;
  CKTButton m_btnPay;
  CKTButton m_btnService;
  CKTButton m_btnHomeSecond;
  CBrowserView m_view;
  CKTLabel m_lblStatus;
  bool m_bRetrying = false;
  std::wstring m_strGameUrl;
  bool m_bReturned = false;
  std::wstring m_strLastUrl;
  std::wstring m_strOAuthUrl;

 private:
  FormEnvironment m_environment;
  CFormBack* m_pBack = nullptr;
  ILoginHost* m_pHost = nullptr;

  void OnBeforeNavigate();
  void OnOpenOutside();
};

// Whether a keyboard message in front of the login page is offered to the page: key-up
// always; Ctrl+C/V/X/Z, Tab, Enter and Delete; nothing else, so the page gets no refresh,
// backspace navigation or find.
bool IsKeyForLoginPage(UINT message, WPARAM key, bool controlDown);

// The question asked before quitting, and its caption.
inline constexpr wchar_t kQuitQuestion[] = L"此操作将退出游戏，是否继续？";
inline constexpr wchar_t kPromptCaption[] = L"提示";
// The status line after a failed load, while retrying, and the word that tells them
// apart.
inline constexpr wchar_t kNetworkErrorText[] = L"检测到您的网络异常，点击这里重试！";
inline constexpr wchar_t kRetryingText[] = L"正在检测您的网络环境，请稍后...";
inline constexpr wchar_t kErrorMarker[] = L"异常";

// The login window: the game site's login page and server list, its title buttons and
// links, and the closing of the program. One-shot runs use it bare, as the window that
// their completion closes.
#pragma once

#include <string>

#include "ui/kt_form.h"

class CFormLogin : public CKTForm {
 public:
  // Creates the window owned by the background window, borderless and layered with
  // the shared colour key, so that only its controls and page show.
  bool Initialize();
  // Creates the window only: no controls, no page, never shown.
  bool CreateBare();

  // Base handling first; then WM_DESTROY quits the program, WM_OVRIN_QUIT_NOW closes
  // the window and WM_OVRIN_CONFIRM_QUIT asks the player first.
  LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Asked only while the window is visible and in front. A click snaps the background
  // window back under the login window; the few keys the page needs (editing shortcuts,
  // Tab, Enter, Delete, key-up) go to the page, every other message goes on normally.
  BOOL PreTranslateMessage(MSG* msg) override;

  std::wstring GetGameUrl() const { return m_strGameUrl; }
  std::wstring GetOAuthUrl() const { return m_strOAuthUrl; }

  bool m_bRetrying = false;
  std::wstring m_strGameUrl;
  bool m_bReturned = false;
  std::wstring m_strLastUrl;
  std::wstring m_strOAuthUrl;
};

// Whether a keyboard message in front of the login page is offered to the page: key-up
// always; Ctrl+C/V/X/Z, Tab, Enter and Delete; nothing else, so the page gets no refresh,
// backspace navigation or find.
bool IsKeyForLoginPage(UINT message, WPARAM key, bool controlDown);

// The question asked before quitting, and its caption.
inline constexpr wchar_t kQuitQuestion[] = L"此操作将退出游戏，是否继续？";
inline constexpr wchar_t kPromptCaption[] = L"提示";

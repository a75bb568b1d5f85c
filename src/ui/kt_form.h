// The base of every top-level window: one borderless popup of the application's
// shared window class, the controls painted in it, and the mouse input they get.
// The application's window procedure finds the form by handle and calls WindowProc.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/kt_base_control.h"

class CKTForm : public CKTBaseControl {
 public:
  CKTForm();
  ~CKTForm() override;

  // Creates the hidden WS_POPUP window at m_rcControl (right and bottom are the size)
  // and sets its text to the game title. A second call does nothing and returns true.
  virtual bool Create(const wchar_t* className, const wchar_t* windowName, HINSTANCE instance,
                      HWND parent);
  // Destroys the window (m_hWndForm keeps its old value); true.
  virtual bool Close();
  virtual HWND GetHwnd();
  // 0 when the toolkit handled the message, 1 when the caller should go on.
  virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // The base consumes everything it is asked about; the windows override it.
  virtual BOOL PreTranslateMessage(MSG* msg);

  bool m_bTracking;
  bool m_bHoverSeen;
  HWND m_hWndForm;
  std::vector<CKTBaseControl*> m_controls;  // painting order, not owned
};

// Parks a form out of sight at (-2000, -2000) while keeping it shown and off the
// taskbar; topmost when the TopMost setting is 1.
void ShowOffscreen(CKTForm& form);

// The base of every top-level window: one borderless popup of the application's
// shared window class, the controls painted in it, and the mouse input they get.
// The application's window procedure finds the form by handle and calls WindowProc.
// A form's own rectangle starts at (0, 0): right and bottom are its size.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/kt_base_control.h"

// What every top-level window of the program is made with: the instance, the one window
// class registered for all of them, the window name they are created with, and whether
// the TopMost setting asks for topmost windows. The application object fills it once the
// class is registered and hands it to each form it initialises.
struct FormEnvironment {
  HINSTANCE instance = nullptr;
  const wchar_t* className = L"";
  const wchar_t* windowTitle = L"";
  bool topMost = false;
};

class CKTForm : public CKTBaseControl {
 public:
  CKTForm();
  // Forgets the controls; the window is not destroyed here.
  ~CKTForm() override;

  // Focuses the window; the concrete windows pass clicks to their controls. True.
  bool OnLButtonDown(UINT nFlags, const POINT& pt) override;
  // Arms hover/leave tracking; controls not under the point get a move outside
  // themselves, and only the topmost control under it gets the move itself.
  bool OnMouseMove(UINT nFlags, const POINT& pt) override;
  // To the topmost control under the point; false when there is none.
  bool OnMouseWheel(UINT nFlags, const POINT& pt) override;
  // Paints every control in list order, straight into hdc.
  void OnPaint(HDC hdc) override;
  // Relayouts every control, last to first; the form's own rectangle stays.
  void Relayout(const POINT* offset) override;

  // Adopts control into the list (not owned; no duplicate check) and gives it this
  // window. Add controls after Create so that they get the window handle. True.
  virtual bool AddControl(CKTBaseControl* control);
  // Removes the first entry equal to control; false when absent.
  virtual bool RemoveControl(CKTBaseControl* control);
  // The mouse left the window: every control not containing (0, 0) drops its hover.
  virtual bool OnMouseLeave(UINT nFlags, const POINT& pt);
  virtual bool OnMouseHover(UINT nFlags, const POINT& pt);
  // The window's size changed: relayout, then a new rectangular region.
  virtual void OnSize();
  virtual void OnMove();
  virtual void OnActivate();
  // Asks for WM_MOUSEHOVER (after 300 ms) and WM_MOUSELEAVE unless a request is active.
  virtual void TrackMouse();
  // Starts a system size (code 1 to 8, by edge) or move (0x12) on target (null: this
  // window) with full-window dragging switched off for its length.
  virtual LRESULT SysCommand(int code, HWND target);
  // Creates the hidden WS_POPUP window at m_rcControl (right and bottom are the size)
  // and sets its text to the game title. A second call does nothing and returns true.
  virtual bool Create(const wchar_t* className, const wchar_t* windowName, HINSTANCE instance,
                      HWND parent);
  // Centres the window in the work area and shows it; false without a window.
  virtual bool ShowCentered(int showCommand);
  virtual void Hide();
  virtual void Minimize();
  // Out of the taskbar and to the front, activated.
  virtual void Restore();
  // Destroys the window (m_hWndForm keeps its old value); true.
  virtual bool Close();
  // Redraws every control (or only the marked ones), last to first.
  virtual void InvalidateControls(bool markedOnly);
  // Kept for the shared slot order; does nothing.
  virtual void ReservedNotify();
  virtual HWND GetHwnd();
  // Painting, mouse input, moves, sizes, activation and WM_CLOSE: 0 when handled, 1
  // when the caller should go on (the concrete window or DefWindowProcW).
  virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // The base consumes everything it is asked about; the windows override it.
  virtual BOOL PreTranslateMessage(MSG* msg);

  // The last control in the list that the point hits, or null.
  CKTBaseControl* ControlAt(const POINT& pt);
  // Gives the window a plain rectangular region one pixel larger than its client area.
  void UpdateRegion();

  bool m_bTracking;
  bool m_bHoverSeen;
  HWND m_hWndForm;
  std::vector<CKTBaseControl*> m_controls;  // painting order, not owned
};

// Parks a form out of sight at (-2000, -2000) while keeping it shown and off the
// taskbar; topmost when topMost is set.
void ShowOffscreen(CKTForm& form, bool topMost);

// Puts the window on the taskbar (WS_EX_APPWINDOW) or keeps it off (WS_EX_TOOLWINDOW),
// and makes it topmost when topMost is set. The background window carries the button;
// the login window never does.
void SetTaskbarButton(HWND window, bool onTaskbar, bool topMost);

// The top-left corner that centres the window's client area in the work area.
POINT CentreInWorkArea(HWND window);

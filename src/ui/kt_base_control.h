// The root of the skinned toolkit: a rectangle that its owner form paints and feeds
// with mouse input. Controls are not windows and never notify their form; a form asks
// which control lies under a click and compares it with its members.
#pragma once

#include <windows.h>

#include <string>

class CKTForm;

class CKTBaseControl {
 public:
  CKTBaseControl();
  CKTBaseControl(const CKTBaseControl&) = delete;
  CKTBaseControl& operator=(const CKTBaseControl&) = delete;

  // The virtual operations, in the order every class of the toolkit shares.
  virtual ~CKTBaseControl();
  // Mouse handlers: pt in the owner's client coordinates, nFlags the message's wParam.
  // True when the control handled the message.
  virtual bool OnLButtonDown(UINT nFlags, const POINT& pt);
  virtual bool OnLButtonUp(UINT nFlags, const POINT& pt);
  virtual bool OnMouseMove(UINT nFlags, const POINT& pt);
  virtual bool OnLButtonDblClk(UINT nFlags, const POINT& pt);
  virtual bool OnMouseWheel(UINT nFlags, const POINT& pt);
  virtual void OnPaint(HDC hdc);
  virtual void SetRect(const RECT& rc);
  // Stores the anchor and re-applies the alignment.
  virtual void SetAnchorRect(const RECT& rc);
  virtual RECT GetRect();
  virtual std::wstring GetTypeName();
  // Right alignment by anchor (only for m_strAlign exactly "right"), then the offset.
  virtual void Relayout(const POINT* offset);
  // Visible, enabled and inside; the right and bottom edges are outside.
  virtual bool HitTest(const POINT& pt);
  virtual void SetOwner(CKTForm* owner);
  virtual void SetVisible(bool visible, bool redraw);
  virtual void SetEnabled(bool enabled, bool redraw);
  // Redraws the rectangle at once (RedrawWindow 0x121), or posts WM_PAINT when
  // m_bPostPaint is set.
  virtual void Invalidate();
  // Kept for the shared slot order; nothing calls it.
  virtual int ReservedHook(int, int, int, int, int);

  RECT m_rcControl;
  HWND m_hWnd;
  HCURSOR m_hCursor;
  CKTForm* m_pOwner;
  std::wstring m_strTypeName;
  std::wstring m_strAlign;
  RECT m_rcAnchor;
  bool m_bVisible;
  bool m_bEnabled;
  bool m_bMarked;
  bool m_bPostPaint;
};

#include "ui/kt_base_control.h"

CKTBaseControl::CKTBaseControl()
    : m_rcControl{0, 0, 0, 0},
      m_hWnd(nullptr),
      m_hCursor(LoadCursorW(nullptr, IDC_ARROW)),
      m_pOwner(nullptr),
      m_strTypeName(L"CKTBaseControl"),
      m_rcAnchor{0, 0, 0, 0},
      m_bVisible(true),
      m_bEnabled(true),
      m_bMarked(false),
      m_bPostPaint(false) {}

CKTBaseControl::~CKTBaseControl() = default;

bool CKTBaseControl::OnLButtonDown(UINT, const POINT&) {
  SetCursor(m_hCursor);
  return false;
}

bool CKTBaseControl::OnLButtonUp(UINT, const POINT&) {
  SetCursor(m_hCursor);
  return false;
}

bool CKTBaseControl::OnMouseMove(UINT, const POINT& pt) {
  if (m_bVisible && m_bEnabled && HitTest(pt)) SetCursor(m_hCursor);
  return false;
}

bool CKTBaseControl::OnLButtonDblClk(UINT, const POINT&) { return false; }
bool CKTBaseControl::OnMouseWheel(UINT, const POINT&) { return false; }
void CKTBaseControl::OnPaint(HDC) {}
void CKTBaseControl::SetRect(const RECT& rc) { m_rcControl = rc; }

void CKTBaseControl::SetAnchorRect(const RECT& rc) {
  m_rcAnchor = rc;
  Relayout(nullptr);
}

RECT CKTBaseControl::GetRect() { return m_rcControl; }
std::wstring CKTBaseControl::GetTypeName() { return m_strTypeName; }

void CKTBaseControl::Relayout(const POINT* offset) {
  if (m_strAlign == L"right") {
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    const LONG width = client.right - client.left;
    SetRect(RECT{width - m_rcAnchor.left, m_rcAnchor.top, width - m_rcAnchor.right,
                 m_rcAnchor.bottom});
  }
  if (offset != nullptr) OffsetRect(&m_rcControl, offset->x, offset->y);
}

bool CKTBaseControl::HitTest(const POINT& pt) {
  return m_bVisible && m_bEnabled && PtInRect(&m_rcControl, pt);
}

void CKTBaseControl::SetOwner(CKTForm* owner) { m_pOwner = owner; }

void CKTBaseControl::SetVisible(bool visible, bool redraw) {
  if (visible == m_bVisible) return;
  m_bVisible = visible;
  if (redraw) Invalidate();
}

void CKTBaseControl::SetEnabled(bool enabled, bool redraw) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  if (redraw) Invalidate();
}

void CKTBaseControl::Invalidate() {
  if (m_bPostPaint) {
    PostMessageW(m_hWnd, WM_PAINT, 0, 0);
    return;
  }
  RedrawWindow(m_hWnd, &m_rcControl, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
}

int CKTBaseControl::ReservedHook(int, int, int, int, int) { return 0; }

#include "ui/kt_button.h"

#include "ui/picture.h"
#include "ui/text_fit.h"

namespace {
// A face drawn in one piece is blended at 254, not 255, so a trace of what lies
// beneath shows through; sliced pieces use 255.
constexpr BYTE kWholeFaceAlpha = 254;
}  // namespace

CKTButton::CKTButton()
    : m_nState(kStateNormal),
      m_bToggled(false),
      m_bPng(false),
      m_rcSlice{0, 0, 0, 0},
      m_rcTextMargin{0, 0, 0, 0} {
  m_uFormat = DT_CENTER;
  m_bAutoWidth = false;
  m_strTypeName = L"CKTButton";
}

CKTButton::~CKTButton() { m_imgCurrent.Destroy(); }

CImage* CKTButton::FaceImage(Face face) {
  switch (face) {
    case Face::kNormal: return &m_imgNormal;
    case Face::kHover: return &m_imgHover;
    case Face::kPressed: return &m_imgPressed;
    case Face::kDisabled: return &m_imgDisabled;
    case Face::kToggledNormal: return &m_imgToggledNormal;
    case Face::kToggledHover: return &m_imgToggledHover;
    case Face::kToggledPressed: return &m_imgToggledPressed;
    case Face::kToggledDisabled: return &m_imgToggledDisabled;
    case Face::kNone: break;
  }
  return nullptr;
}

ButtonLook CKTButton::Look() {
  ButtonLook look;
  for (int i = 0; i < kFaceCount; ++i) look.loaded[i] = !FaceImage(static_cast<Face>(i))->IsNull();
  look.toggled = m_bToggled;
  look.toggledColor = m_bToggledColor;
  look.hoverEffects = m_bHoverEffects;
  return look;
}

void CKTButton::MakeCurrent(Face face) {
  const CImage* image = FaceImage(face);
  if (image != nullptr) m_imgCurrent.ShareFrom(*image);
}

void CKTButton::ApplyColor(TextColor color) {
  switch (color) {
    case TextColor::kToggled: SetTextColor(m_crToggled, true); break;
    case TextColor::kHover: SetTextColor(m_crHover, true); break;
    case TextColor::kNormal: SetTextColor(m_crNormal, true); break;
  }
}

void CKTButton::SetState(int state, bool redraw) {
  const StatePlan plan = PlanSetState(m_nState, state, Look());
  if (plan.ignored) return;
  m_nState = plan.newState;
  for (TextColor color : plan.colors) ApplyColor(color);
  MakeCurrent(plan.face);
  if (m_bVisible && m_bEnabled && redraw && plan.repaint) Invalidate();
}

void CKTButton::SetToggled(bool toggled) {
  if (toggled == m_bToggled) return;
  m_bToggled = toggled;
  SetState(kStateRefresh, true);
}

void CKTButton::SetEnabled(bool enabled, bool redraw) {
  MakeCurrent(PlanEnabledFace(enabled, Look()));
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  if (redraw) Invalidate();
}

void CKTButton::LoadImages(HINSTANCE instance, WORD normalId, WORD hoverId, WORD pressedId) {
  m_bPng = LoadPngResource(instance, m_imgNormal, normalId);
  LoadPngResource(instance, m_imgHover, hoverId);
  LoadPngResource(instance, m_imgPressed, pressedId);
  m_imgCurrent.ShareFrom(m_imgNormal);
}

int CKTButton::GetImageWidth() {
  if (!m_imgCurrent.IsNull()) return m_imgCurrent.GetWidth();
  return m_imgNormal.IsNull() ? 0 : m_imgNormal.GetWidth();
}

int CKTButton::GetImageHeight() {
  if (!m_imgCurrent.IsNull()) return m_imgCurrent.GetHeight();
  return m_imgNormal.IsNull() ? 0 : m_imgNormal.GetHeight();
}

bool CKTButton::OnMouseMove(UINT nFlags, const POINT& pt) {
  CKTLabel::OnMouseMove(nFlags, pt);
  SetState(HitTest(pt) ? kStateHover : kStateNormal, true);
  return false;
}

bool CKTButton::OnLButtonDown(UINT, const POINT&) {
  SetCursor(m_hCursor);
  SetState(kStatePressed, true);
  return false;
}

bool CKTButton::OnLButtonUp(UINT, const POINT&) {
  SetCursor(m_hCursor);
  SetState(kStateReleased, true);
  return false;
}

void CKTButton::OnPaint(HDC hdc) {
  if (!m_bVisible) return;
  if (!m_imgCurrent.IsNull()) {
    const int w = GetImageWidth();
    const int h = GetImageHeight();
    const BlitKind kind = m_bPng ? BlitKind::kAlphaBlend : BlitKind::kTransparent;
    const SliceWidths slice{m_rcSlice.left, m_rcSlice.top, m_rcSlice.right, m_rcSlice.bottom};
    if (!DrawSliced(m_imgCurrent, hdc, m_rcControl, slice, kind)) {
      BlitImage(m_imgCurrent, hdc, kind, kWholeFaceAlpha, m_rcControl.left, m_rcControl.top,
                m_rcControl.right - m_rcControl.left, m_rcControl.bottom - m_rcControl.top, 0, 0,
                w, h);
    }
  }
  if (m_strText.empty()) return;

  RECT area = {m_rcControl.left + m_rcTextMargin.left, m_rcControl.top + m_rcTextMargin.top,
               m_rcControl.right - m_rcTextMargin.right,
               m_rcControl.bottom - m_rcTextMargin.bottom};
  const int saved = SaveDC(hdc);
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  const COLORREF oldText = ::SetTextColor(hdc, m_bEnabled ? m_crText : m_crDisabled);
  EnsureFont();
  const HGDIOBJ oldFont = m_hFont != nullptr ? SelectObject(hdc, m_hFont) : nullptr;
  const RECT from = area;
  const FittedText fitted =
      FitButtonText(m_strText, m_nKeepChars, area.right, [&](const std::wstring& s) {
        const RECT r = MeasureIn(hdc, s, from);
        return TextExtent{r.right, r.bottom - r.top};
      });
  InflateRect(&area, 0, -((area.bottom - area.top - fitted.height) / 2));
  DrawTextW(hdc, fitted.text.c_str(), static_cast<int>(fitted.text.size()), &area, m_uFormat);
  if (oldFont != nullptr) SelectObject(hdc, oldFont);
  ::SetTextColor(hdc, oldText);
  SetBkMode(hdc, oldMode);
  RestoreDC(hdc, saved);
}

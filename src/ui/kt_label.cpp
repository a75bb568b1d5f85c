#include "ui/kt_label.h"

#include "ui/gdi.h"
#include "ui/text_fit.h"

namespace {
constexpr wchar_t kYaHei[] = L"微软雅黑";
// Before a change the rectangle is made this wide, so that the redraw that follows
// covers whatever the new text or font needs.
constexpr int kWidenTo = 800;
}  // namespace

CKTLabel::CKTLabel()
    : m_nFontHeight(12),
      m_strFontName(L"宋体"),
      m_bUnderline(FALSE),
      m_crText(0),
      m_crBack(0),
      m_bOpaque(false),
      m_hFont(nullptr),
      m_bFontDirty(false),
      m_uFormat(0),
      m_bAutoWidth(true),
      m_nMaxWidth(0),
      m_nTextWidth(-1),
      m_nWeight(0),
      m_nKeepChars(0),
      m_bHoverEffects(false),
      m_bToggledColor(false),
      m_bHovering(false),
      m_bHoverUnderline(FALSE),
      m_bNormalUnderline(FALSE),
      m_crToggled(0),
      m_crHover(0),
      m_crNormal(0),
      m_crDisabled(0x00AAAAAA) {
  m_strTypeName = L"CKTLabel";
}

CKTLabel::~CKTLabel() {
  if (m_hFont != nullptr) DeleteObject(m_hFont);
}

void CKTLabel::EnsureFont() {
  if (!m_bFontDirty) return;
  if (m_hFont != nullptr) DeleteObject(m_hFont);
  m_hFont = CreateFontW(m_nFontHeight, 0, 0, 0, m_nWeight, FALSE, m_bUnderline, FALSE, ANSI_CHARSET,
                        0, 0, 0, FF_SWISS, m_strFontName.c_str());
  m_bFontDirty = false;
}

RECT CKTLabel::MeasureIn(HDC dc, const std::wstring& text, const RECT& from) const {
  RECT r = from;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT);
  return r;
}

void CKTLabel::OnPaint(HDC hdc) {
  if (!m_bVisible) return;
  const int saved = SaveDC(hdc);
  int oldMode;
  COLORREF oldBack = CLR_INVALID;
  if (m_bOpaque) {
    oldBack = SetBkColor(hdc, m_crBack);
    oldMode = SetBkMode(hdc, OPAQUE);
  } else {
    oldMode = SetBkMode(hdc, TRANSPARENT);
  }
  const COLORREF oldText = ::SetTextColor(hdc, m_bEnabled ? m_crText : m_crDisabled);
  EnsureFont();
  const HGDIOBJ oldFont = m_hFont != nullptr ? SelectObject(hdc, m_hFont) : nullptr;

  const RECT whole = MeasureIn(hdc, m_strText, m_rcControl);
  const int height = whole.bottom - whole.top;
  if (m_bAutoWidth) {
    const int width = whole.right - whole.left;
    m_rcControl.right =
        m_rcControl.left + (m_nMaxWidth > 0 && width > m_nMaxWidth ? m_nMaxWidth : width);
  }
  const RECT from = m_rcControl;
  const FittedText fitted = FitLabelText(m_strText, m_rcControl.right, [&](const std::wstring& s) {
    const RECT r = MeasureIn(hdc, s, from);
    return TextExtent{r.right, r.bottom - r.top};
  });
  RECT r = m_rcControl;
  InflateRect(&r, 0, -((r.bottom - r.top - height) / 2));
  DrawTextW(hdc, fitted.text.c_str(), static_cast<int>(fitted.text.size()), &r, m_uFormat);

  if (oldFont != nullptr) SelectObject(hdc, oldFont);
  ::SetTextColor(hdc, oldText);
  SetBkMode(hdc, oldMode);
  if (oldBack != CLR_INVALID) SetBkColor(hdc, oldBack);
  RestoreDC(hdc, saved);
}

bool CKTLabel::OnMouseMove(UINT, const POINT& pt) {
  const bool hit = HitTest(pt);
  if (m_bVisible && m_bEnabled && hit) SetCursor(m_hCursor);
  if (!m_bHoverEffects) return false;
  if (hit) {
    if (m_bHovering) return false;
    m_bHovering = true;
    SetUnderline(m_bHoverUnderline != FALSE, false);
    SetTextColor(m_crHover, true);
  } else if (m_bHovering) {
    m_bHovering = false;
    SetUnderline(m_bNormalUnderline != FALSE, false);
    SetTextColor(m_crNormal, true);
  }
  return false;
}

void CKTLabel::WidenForChange() {
  if (m_bAutoWidth) m_rcControl.right = m_rcControl.left + kWidenTo;
}

void CKTLabel::SetText(const wchar_t* text, bool redraw) {
  WidenForChange();
  m_strText = text != nullptr ? text : L"";
  m_bFontDirty = true;
  m_nTextWidth = -1;
  if (redraw) Invalidate();
}

void CKTLabel::SetFontSize(int size, int exactHeight, bool redraw) {
  WidenForChange();
  if (exactHeight > 0)
    m_nFontHeight = exactHeight;
  else if (m_strFontName == kYaHei)
    m_nFontHeight = size - 5;
  else
    m_nFontHeight = size;
  m_bFontDirty = true;
  if (redraw) Invalidate();
}

void CKTLabel::SetFontName(const wchar_t* face, bool redraw) {
  WidenForChange();
  m_strFontName = face != nullptr ? face : L"";
  m_bFontDirty = true;
  if (redraw) Invalidate();
}

void CKTLabel::SetHoverUnderline(bool normal, bool hover, bool redraw) {
  m_bHoverEffects = true;
  m_bNormalUnderline = normal;
  m_bHoverUnderline = hover;
  m_bUnderline = normal;
  if (redraw) Invalidate();
}

void CKTLabel::SetUnderline(bool underline, bool redraw) {
  m_bUnderline = underline;
  m_bFontDirty = true;
  if (redraw) Invalidate();
}

std::wstring CKTLabel::GetText() { return m_strText; }

void CKTLabel::SetStateColors(COLORREF normal, COLORREF hover, COLORREF toggled, bool redraw) {
  m_bHoverEffects = true;
  m_bToggledColor = true;
  m_crNormal = normal;
  m_crHover = hover;
  m_crToggled = toggled;
  m_crText = normal;
  if (redraw) Invalidate();
}

void CKTLabel::SetHoverColors(COLORREF normal, COLORREF hover, bool redraw) {
  m_bHoverEffects = true;
  m_crNormal = normal;
  m_crHover = hover;
  m_crText = normal;
  if (redraw) Invalidate();
}

void CKTLabel::SetTextColor(COLORREF color, bool redraw) {
  if (color == m_crText) return;
  m_crText = color;
  if (redraw) Invalidate();
}

void CKTLabel::SetDisabledTextColor(COLORREF color) { m_crDisabled = color; }

void CKTLabel::SetBackColor(COLORREF color, bool opaque) {
  if (color == m_crBack) return;
  m_crBack = color;
  m_bOpaque = opaque;
  Invalidate();
}

void CKTLabel::SetFont(HFONT font) {
  if (m_hFont != nullptr) DeleteObject(m_hFont);
  m_hFont = font;
}

void CKTLabel::SetTextFormat(UINT format) {
  m_uFormat = format;
  if (format != 0) m_bAutoWidth = false;
}

void CKTLabel::SetAutoWidth(bool autoWidth, int maxWidth) {
  m_bAutoWidth = autoWidth;
  m_nMaxWidth = maxWidth;
}

int CKTLabel::GetTextWidth() {
  if (m_nTextWidth >= 0) return m_nTextWidth;
  const CWindowDC window(m_hWnd);
  const HDC dc = window.get();
  if (dc == nullptr) return 0;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, m_crText);
  EnsureFont();
  RECT r;
  {
    const CSelectedObject font(dc, m_hFont);
    r = MeasureIn(dc, m_strText, m_rcControl);
  }
  RestoreDC(dc, saved);
  int width = r.right - r.left;
  if (m_nMaxWidth != 0 && m_nMaxWidth < width) width = m_nMaxWidth;
  m_nTextWidth = width;
  return width;
}

void CKTLabel::SetBold(bool bold, bool redraw) {
  const int weight = bold ? FW_BOLD : 0;
  if (weight == m_nWeight) return;
  m_nWeight = weight;
  m_bFontDirty = true;
  if (redraw) Invalidate();
}

void CKTLabel::SetKeepChars(int count) { m_nKeepChars = count; }

// One line of text in a rectangle, with a font of its own, shortened with "..." when
// it does not fit; optionally it changes colour and underline under the mouse.
#pragma once

#include <string>

#include "ui/kt_base_control.h"

class CKTLabel : public CKTBaseControl {
 public:
  CKTLabel();
  ~CKTLabel() override;

  // Sets the hand cursor when hit; with hover effects switches colour and underline as
  // the mouse enters and leaves. Always false.
  bool OnMouseMove(UINT nFlags, const POINT& pt) override;
  void OnPaint(HDC hdc) override;

  // The operations below redraw when redraw is true. An auto-width label widens its
  // rectangle to 800 pixels first, so that the redraw covers a longer text.
  virtual void SetText(const wchar_t* text, bool redraw);
  // exactHeight when positive; else size - 5 for the face "微软雅黑", else size.
  virtual void SetFontSize(int size, int exactHeight, bool redraw);
  virtual void SetFontName(const wchar_t* face, bool redraw);
  // Switches hover effects on; the normal underline applies from the next font.
  virtual void SetHoverUnderline(bool normal, bool hover, bool redraw);
  virtual void SetUnderline(bool underline, bool redraw);
  virtual std::wstring GetText();
  // Switches hover effects and the toggled colour on; the text takes normal now.
  virtual void SetStateColors(COLORREF normal, COLORREF hover, COLORREF toggled, bool redraw);
  virtual void SetHoverColors(COLORREF normal, COLORREF hover, bool redraw);
  // Nothing when the colour is already the text colour.
  virtual void SetTextColor(COLORREF color, bool redraw);
  virtual void SetDisabledTextColor(COLORREF color);
  // Nothing when color is already the background colour; else always redraws.
  virtual void SetBackColor(COLORREF color, bool opaque);
  // Adopts font (owned from now on), deleting the current one.
  virtual void SetFont(HFONT font);
  // DrawTextW format of the final draw; a non-zero format ends automatic width.
  virtual void SetTextFormat(UINT format);
  virtual void SetAutoWidth(bool autoWidth, int maxWidth);
  // The text's width in the owner window's font setup, cached until the text changes;
  // capped by a non-zero maximum width.
  virtual int GetTextWidth();
  virtual void SetBold(bool bold, bool redraw);
  // Trailing characters a shortened button caption keeps after the "...".
  virtual void SetKeepChars(int count);

  // Re-creates the font when an attribute changed since the last one.
  void EnsureFont();

  std::wstring m_strText;
  int m_nFontHeight;
  std::wstring m_strFontName;
  BOOL m_bUnderline;
  COLORREF m_crText;
  COLORREF m_crBack;
  bool m_bOpaque;
  HFONT m_hFont;
  bool m_bFontDirty;
  UINT m_uFormat;
  bool m_bAutoWidth;
  int m_nMaxWidth;
  int m_nTextWidth;
  int m_nWeight;
  int m_nKeepChars;
  bool m_bHoverEffects;
  bool m_bToggledColor;
  bool m_bHovering;
  BOOL m_bHoverUnderline;
  BOOL m_bNormalUnderline;
  COLORREF m_crToggled;
  COLORREF m_crHover;
  COLORREF m_crNormal;
  COLORREF m_crDisabled;

 protected:
  // Widens an auto-width label to 800 pixels before its text or font changes.
  void WidenForChange();
  // Measures text with DT_CALCRECT from the control's rectangle, in dc's current font.
  RECT MeasureIn(HDC dc, const std::wstring& text, const RECT& from) const;
};

// A skinned button: a face chosen from up to eight loaded pictures by its visual state
// (normal, hover, pressed, disabled, each also toggled), with an optional caption.
// The button only changes its look; its window decides what a click means.
#pragma once

#include "ui/button_faces.h"
#include "ui/image.h"
#include "ui/kt_label.h"
#include "ui/slicing.h"

class CKTButton : public CKTLabel {
 public:
  CKTButton();
  ~CKTButton() override;

  // Press and release set the cursor and the pressed or released state; a move sets
  // hover over the button and normal elsewhere. All return false.
  bool OnLButtonDown(UINT nFlags, const POINT& pt) override;
  bool OnLButtonUp(UINT nFlags, const POINT& pt) override;
  bool OnMouseMove(UINT nFlags, const POINT& pt) override;
  void OnPaint(HDC hdc) override;
  // Picks the enabled or disabled face; the visual state is kept.
  void SetEnabled(bool enabled, bool redraw) override;

  // Size of the current face, else of the normal face, else 0.
  virtual int GetImageWidth();
  virtual int GetImageHeight();
  // Stores state (kStateRefresh re-applies the stored one) and makes its face current;
  // redraws a visible, enabled button when its face changed or on a refresh.
  virtual void SetState(int state, bool redraw);

  // Loads the three plain faces; the PNG flag of the normal face chooses how every
  // face is drawn.
  void LoadImages(HINSTANCE instance, WORD normalId, WORD hoverId, WORD pressedId);
  // Switches to or from the toggled faces (and redraws) when the flag changes.
  void SetToggled(bool toggled);

  int m_nState;
  bool m_bToggled;
  bool m_bPng;
  RECT m_rcSlice;
  RECT m_rcTextMargin;
  CImage m_imgCurrent;  // shares one of the faces below, never owns a bitmap
  CImage m_imgNormal;
  CImage m_imgHover;
  CImage m_imgPressed;
  CImage m_imgDisabled;
  CImage m_imgToggledNormal;
  CImage m_imgToggledHover;
  CImage m_imgToggledPressed;
  CImage m_imgToggledDisabled;

 private:
  ButtonLook Look();
  CImage* FaceImage(Face face);
  void MakeCurrent(Face face);
  void ApplyColor(TextColor color);
};

// A picture filling its rectangle: window backgrounds, title strips, borders, icons.
// Slice widths keep its borders at their natural size while the middle stretches.
#pragma once

#include "ui/image.h"
#include "ui/kt_base_control.h"

class CKTImage : public CKTBaseControl {
 public:
  CKTImage();
  ~CKTImage() override;

  // Transparent pictures blend (PNG) or leave out the colour key (bitmaps), sliced or
  // whole; opaque ones are copied, and only where slicing applies.
  void OnPaint(HDC hdc) override;

  // The picture's size, 0 when it is empty.
  virtual int GetImageWidth();
  virtual int GetImageHeight();

  bool m_bPng;
  CImage m_image;
  bool m_bTransparent;
  RECT m_rcSlice;
};

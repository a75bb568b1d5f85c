#include "ui/kt_image.h"

#include "ui/picture.h"

CKTImage::CKTImage() : m_bPng(false), m_bTransparent(true), m_rcSlice{0, 0, 0, 0} {
  m_strTypeName = L"CKTImage";
}

CKTImage::~CKTImage() = default;

int CKTImage::GetImageWidth() { return m_image.IsNull() ? 0 : m_image.GetWidth(); }
int CKTImage::GetImageHeight() { return m_image.IsNull() ? 0 : m_image.GetHeight(); }

void CKTImage::OnPaint(HDC hdc) {
  if (!m_bVisible || m_image.IsNull()) return;
  const SliceWidths slice{m_rcSlice.left, m_rcSlice.top, m_rcSlice.right, m_rcSlice.bottom};
  if (!m_bTransparent) {
    // No window configures an opaque picture without slices; it draws nothing.
    DrawSliced(m_image, hdc, m_rcControl, slice, BlitKind::kStretch);
    return;
  }
  const BlitKind kind = m_bPng ? BlitKind::kAlphaBlend : BlitKind::kTransparent;
  if (DrawSliced(m_image, hdc, m_rcControl, slice, kind)) return;
  BlitImage(m_image, hdc, kind, 255, m_rcControl.left, m_rcControl.top,
            m_rcControl.right - m_rcControl.left, m_rcControl.bottom - m_rcControl.top, 0, 0,
            GetImageWidth(), GetImageHeight());
}

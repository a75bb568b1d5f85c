// The picture holder of the toolkit: a device-independent bitmap with its geometry,
// decoded with GDI+ or adopted from a bitmap resource, and the blits the controls use.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>

#include "ui/colors.h"

class CImage {
 public:
  CImage() = default;
  ~CImage();
  CImage(const CImage&) = delete;
  CImage& operator=(const CImage&) = delete;

  // Decodes the stream (PNG or any format GDI+ reads) into a new top-down DIB section:
  // 32 bits with the alpha flag when the picture has transparency (straight alpha, as
  // decoded), 8 bits with its palette for other palette pictures, 24 bits otherwise.
  // S_OK, or an error leaving the image empty.
  HRESULT Load(IStream* stream);
  // Adopts a DIB section (the image owns it from now on). False, adopting nothing, for
  // a null handle or a bitmap that is not a DIB section.
  bool Attach(HBITMAP bitmap);
  // Shows another image's bitmap without owning it; the other image must outlive this
  // one's use of it.
  void ShareFrom(const CImage& other);
  // Frees an owned bitmap and empties the image.
  void Destroy();

  bool IsNull() const { return m_hBitmap == nullptr; }
  HBITMAP GetHandle() const { return m_hBitmap; }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  int GetBPP() const { return m_nBpp; }
  // Bytes from one row to the next in top-down order; negative for bottom-up DIBs.
  int GetPitch() const { return m_nPitch; }
  // The top row's first pixel: pixel (x, y) is at GetBits() + y * pitch + x * bpp / 8.
  uint8_t* GetBits() const { return m_pBits; }
  bool HasAlpha() const { return m_bHasAlpha; }

  // Each blit selects the bitmap into a memory device context for the call only.
  // GDI AlphaBlend, per-pixel alpha (premultiplied) when the image has an alpha channel.
  bool AlphaBlend(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                  BYTE constantAlpha) const;
  // GDI TransparentBlt: pixels of the key colour are left out.
  bool TransparentBlt(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                      COLORREF key = kColorKey) const;
  // GDI StretchBlt: an opaque copy.
  bool StretchBlt(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                  DWORD rop = SRCCOPY) const;
  // The whole image at its natural size at (x, y): blended by its alpha when it has an
  // alpha channel, copied otherwise.
  bool Draw(HDC dc, int x, int y) const;

 private:
  bool AdoptDib(HBITMAP bitmap, bool owned, bool topDown);

  HBITMAP m_hBitmap = nullptr;
  bool m_bOwned = false;
  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nBpp = 0;
  int m_nPitch = 0;
  uint8_t* m_pBits = nullptr;
  bool m_bHasAlpha = false;
};

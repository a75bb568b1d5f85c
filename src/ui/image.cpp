#include "ui/image.h"

#include <gdiplus.h>

#include <cstring>
#include <vector>

#include "ui/gdi.h"

namespace {

// GDI+ is started on the first decode and left running for the life of the process:
// images live in static windows, and shutting GDI+ down under them at exit gains
// nothing.
bool EnsureGdiplus() {
  static const bool started = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

// The thread's blit context with one bitmap selected, for the length of a blit; the
// bitmap is deselected afterwards, so it can be selected anywhere else. The context is
// one per thread, reused by every blit: creating and deleting a context costs more than
// a small blit, and a window paints a dozen of them.
class SelectedBitmap {
 public:
  explicit SelectedBitmap(HBITMAP bitmap) : m_selection(Cached(), bitmap) {}
  // Null when the bitmap could not be selected (already selected elsewhere).
  HDC dc() const { return m_selection.selected() ? Cached() : nullptr; }

 private:
  static HDC Cached() {
    thread_local CMemoryDC cached;
    return cached.get();
  }
  CSelectedObject m_selection;
};

bool PaletteHasAlpha(Gdiplus::Bitmap& bitmap) {
  const INT size = bitmap.GetPaletteSize();
  if (size <= 0) return false;
  std::vector<BYTE> buffer(static_cast<size_t>(size));
  auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
  if (bitmap.GetPalette(palette, size) != Gdiplus::Ok) return false;
  if (palette->Flags & Gdiplus::PaletteFlagsHasAlpha) return true;
  for (UINT i = 0; i < palette->Count; ++i)
    if ((palette->Entries[i] >> 24) != 0xFF) return true;
  return false;
}

struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

}  // namespace

CImage::~CImage() { Destroy(); }

void CImage::Destroy() {
  if (m_bOwned && m_hBitmap != nullptr) DeleteObject(m_hBitmap);
  m_hBitmap = nullptr;
  m_bOwned = false;
  m_nWidth = m_nHeight = m_nBpp = m_nPitch = 0;
  m_pBits = nullptr;
  m_bHasAlpha = false;
}

HRESULT CImage::Load(IStream* stream) {
  Destroy();
  if (stream == nullptr) return E_POINTER;
  if (!EnsureGdiplus()) return E_FAIL;
  Gdiplus::Bitmap source(stream);
  if (source.GetLastStatus() != Gdiplus::Ok) return E_FAIL;
  const int width = static_cast<int>(source.GetWidth());
  const int height = static_cast<int>(source.GetHeight());
  if (width <= 0 || height <= 0) return E_FAIL;
  const Gdiplus::PixelFormat format = source.GetPixelFormat();

  // The decoder's format decides the DIB's: GDI blends only 32-bit pixels by their
  // alpha, so any transparency (an alpha channel or a palette with alpha) becomes 32
  // bits; plain palettes keep their colour table.
  Gdiplus::PixelFormat lockFormat = PixelFormat24bppRGB;
  int bpp = 24;
  bool alpha = false;
  if (Gdiplus::IsAlphaPixelFormat(format) ||
      (Gdiplus::IsIndexedPixelFormat(format) && PaletteHasAlpha(source))) {
    lockFormat = PixelFormat32bppARGB;
    bpp = 32;
    alpha = true;
  } else if (format == PixelFormat8bppIndexed) {
    lockFormat = PixelFormat8bppIndexed;
    bpp = 8;
  }

  DibInfo info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down: row 0 first
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bpp);
  info.header.biCompression = BI_RGB;
  if (bpp == 8) {
    const INT size = source.GetPaletteSize();
    std::vector<BYTE> buffer(static_cast<size_t>(size > 0 ? size : 0));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    if (size <= 0 || source.GetPalette(palette, size) != Gdiplus::Ok) return E_FAIL;
    const UINT count = palette->Count < 256 ? palette->Count : 256;
    for (UINT i = 0; i < count; ++i) {
      const Gdiplus::ARGB c = palette->Entries[i];
      info.colors[i] =
          RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
    }
    info.header.biClrUsed = count;
  }
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                 &bits, nullptr, 0);
  if (dib == nullptr || bits == nullptr) {
    if (dib != nullptr) DeleteObject(dib);
    return E_OUTOFMEMORY;
  }
  const int pitch = ((width * bpp + 31) / 32) * 4;
  Gdiplus::Rect all(0, 0, width, height);
  Gdiplus::BitmapData data = {};
  if (source.LockBits(&all, Gdiplus::ImageLockModeRead, lockFormat, &data) != Gdiplus::Ok) {
    DeleteObject(dib);
    return E_FAIL;
  }
  const size_t rowBytes = static_cast<size_t>(width) * bpp / 8;
  for (int y = 0; y < height; ++y) {
    std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * pitch,
                static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                rowBytes);
  }
  source.UnlockBits(&data);
  AdoptDib(dib, true, true);
  m_bHasAlpha = alpha;
  return S_OK;
}

bool CImage::Attach(HBITMAP bitmap) {
  Destroy();
  return AdoptDib(bitmap, true, false);
}

bool CImage::AdoptDib(HBITMAP bitmap, bool owned, bool topDown) {
  DIBSECTION section = {};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) ||
      section.dsBm.bmBits == nullptr)
    return false;
  m_hBitmap = bitmap;
  m_bOwned = owned;
  m_nWidth = section.dsBm.bmWidth;
  m_nHeight = section.dsBm.bmHeight;
  m_nBpp = section.dsBm.bmBitsPixel;
  const int stride = section.dsBm.bmWidthBytes;
  auto* first = static_cast<uint8_t*>(section.dsBm.bmBits);
  // Wine reports the height of a top-down section without its sign, so the creator
  // says what it made; bitmaps from resources follow the header's sign.
  if (!topDown && section.dsBmih.biHeight > 0) {
    // Bottom-up: the top row is the last one in memory.
    m_pBits = first + static_cast<ptrdiff_t>(m_nHeight - 1) * stride;
    m_nPitch = -stride;
  } else {
    m_pBits = first;
    m_nPitch = stride;
  }
  m_bHasAlpha = false;
  return true;
}

void CImage::ShareFrom(const CImage& other) {
  if (&other == this) return;
  Destroy();
  m_hBitmap = other.m_hBitmap;
  m_bOwned = false;
  m_nWidth = other.m_nWidth;
  m_nHeight = other.m_nHeight;
  m_nBpp = other.m_nBpp;
  m_nPitch = other.m_nPitch;
  m_pBits = other.m_pBits;
  m_bHasAlpha = other.m_bHasAlpha;
}

bool CImage::AlphaBlend(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                        BYTE constantAlpha) const {
  if (IsNull()) return false;
  SelectedBitmap source(m_hBitmap);
  if (source.dc() == nullptr) return false;
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, constantAlpha,
                         static_cast<BYTE>(m_bHasAlpha ? AC_SRC_ALPHA : 0)};
  return ::AlphaBlend(dc, x, y, w, h, source.dc(), sx, sy, sw, sh, blend) != FALSE;
}

bool CImage::TransparentBlt(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                            COLORREF key) const {
  if (IsNull()) return false;
  SelectedBitmap source(m_hBitmap);
  if (source.dc() == nullptr) return false;
  return ::TransparentBlt(dc, x, y, w, h, source.dc(), sx, sy, sw, sh, key) != FALSE;
}

bool CImage::StretchBlt(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                        DWORD rop) const {
  if (IsNull()) return false;
  SelectedBitmap source(m_hBitmap);
  if (source.dc() == nullptr) return false;
  if (w == sw && h == sh) return ::BitBlt(dc, x, y, w, h, source.dc(), sx, sy, rop) != FALSE;
  // Slices are only ever enlarged or copied, so dropping rows and columns instead of
  // blending them changes nothing, and it is GDI's cheapest stretch.
  const int previous = SetStretchBltMode(dc, COLORONCOLOR);
  const bool drawn = ::StretchBlt(dc, x, y, w, h, source.dc(), sx, sy, sw, sh, rop) != FALSE;
  if (previous != 0) SetStretchBltMode(dc, previous);
  return drawn;
}

bool CImage::Draw(HDC dc, int x, int y) const {
  if (m_bHasAlpha) return AlphaBlend(dc, x, y, m_nWidth, m_nHeight, 0, 0, m_nWidth, m_nHeight, 255);
  return StretchBlt(dc, x, y, m_nWidth, m_nHeight, 0, 0, m_nWidth, m_nHeight, SRCCOPY);
}

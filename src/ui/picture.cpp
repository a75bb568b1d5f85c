#include "ui/picture.h"

#include <cstring>

#include <wrl/client.h>

#include "ui/premultiply.h"

namespace {

constexpr wchar_t kPngType[] = L"PNG";

// A global memory block freed on every path.
class GlobalBlock {
 public:
  explicit GlobalBlock(SIZE_T size) : m_block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)) {}
  ~GlobalBlock() {
    if (m_block != nullptr) GlobalFree(m_block);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  HGLOBAL get() const { return m_block; }

 private:
  HGLOBAL m_block;
};

}  // namespace

HRESULT DecodeResource(HINSTANCE instance, HRSRC resource, CImage& image) {
  const HGLOBAL loaded = LoadResource(instance, resource);
  if (loaded == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  const void* bytes = LockResource(loaded);
  const DWORD size = SizeofResource(instance, resource);
  if (bytes == nullptr || size == 0) return E_FAIL;
  GlobalBlock block(size);
  if (block.get() == nullptr) return E_OUTOFMEMORY;
  void* copy = GlobalLock(block.get());
  if (copy == nullptr) return E_OUTOFMEMORY;
  std::memcpy(copy, bytes, size);
  GlobalUnlock(block.get());
  // The stream does not own the block: the block outlives the decoder here.
  Microsoft::WRL::ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(block.get(), FALSE, &stream);
  if (FAILED(hr)) return hr;
  if (stream == nullptr) return E_FAIL;
  hr = image.Load(stream.Get());
  return hr;
}

HBITMAP CreateArgbBitmap(int width, int height, void** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits != nullptr) *bits = pixels;
  return bitmap;
}

bool LoadPngResource(HINSTANCE instance, CImage& image, WORD id) {
  image.Destroy();
  const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), kPngType);
  if (resource == nullptr) {
    if (FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP) != nullptr) {
      const HANDLE bitmap =
          LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
      if (bitmap != nullptr && !image.Attach(static_cast<HBITMAP>(bitmap)))
        DeleteObject(bitmap);
    }
    return false;
  }
  if (LoadResource(instance, resource) == nullptr) return false;
  // A picture the decoder refuses stays empty; the controls then draw nothing.
  if (FAILED(DecodeResource(instance, resource, image))) return true;
  PremultiplyAlpha(image, RECT{0, 0, 0, 0});
  return true;
}

bool PremultiplyAlpha(CImage& image, RECT clearRect) {
  if (image.GetBPP() != 32) return false;
  PremultiplyPixels(image.GetBits(), image.GetWidth(), image.GetHeight(), image.GetPitch(),
                    ClearRect{clearRect.left, clearRect.top, clearRect.right, clearRect.bottom},
                    AlphaRounding::kTruncate);
  return true;
}

bool BlitImage(const CImage& image, HDC dc, BlitKind kind, BYTE alpha, int x, int y, int w,
               int h, int sx, int sy, int sw, int sh) {
  switch (kind) {
    case BlitKind::kAlphaBlend:
      return image.AlphaBlend(dc, x, y, w, h, sx, sy, sw, sh, alpha);
    case BlitKind::kTransparent:
      return image.TransparentBlt(dc, x, y, w, h, sx, sy, sw, sh, kColorKey);
    case BlitKind::kStretch:
      return image.StretchBlt(dc, x, y, w, h, sx, sy, sw, sh, SRCCOPY);
  }
  return false;
}

bool DrawSliced(const CImage& image, HDC dc, const RECT& dest, const SliceWidths& slice,
                BlitKind kind) {
  const auto pieces = SlicePieces(image.GetWidth(), image.GetHeight(), dest.left, dest.top,
                                  dest.right, dest.bottom, slice);
  for (const SlicePiece& p : pieces)
    BlitImage(image, dc, kind, 255, p.dx, p.dy, p.dw, p.dh, p.sx, p.sy, p.sw, p.sh);
  return !pieces.empty();
}

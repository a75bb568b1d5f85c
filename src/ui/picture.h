// Pictures from the program's resources and the ways the controls put them on screen.
#pragma once

#include <windows.h>

#include "ui/image.h"
#include "ui/slicing.h"

// Loads resource id into image. True when a "PNG" resource of that id exists and was
// handed to the decoder (even if decoding then failed and the image stayed empty);
// transparent PNGs are premultiplied. Without a "PNG" resource a bitmap resource of the
// same id is adopted as a DIB section and the result is false; with neither the image
// stays empty and the result is false.
// A top-down 32-bit DIB section of the given size; *bits (when asked for) gets its pixels.
HBITMAP CreateArgbBitmap(int width, int height, void** bits = nullptr);

bool LoadPngResource(HINSTANCE instance, CImage& image, WORD id);

// Decodes the bytes of a resource found with FindResourceW into image, through a
// stream over a movable global copy. S_OK or the failing call's error.
HRESULT DecodeResource(HINSTANCE instance, HRSRC resource, CImage& image);

// Premultiplies a 32-bit image in place (truncating), making the pixels inside
// clearRect fully transparent first. False, changing nothing, for any other depth.
bool PremultiplyAlpha(CImage& image, RECT clearRect);

// How a picture, or a piece of it, is put on screen.
enum class BlitKind {
  kAlphaBlend,   // AlphaBlend with the given constant alpha (PNG pictures)
  kTransparent,  // TransparentBlt with the colour key (bitmap resources)
  kStretch,      // StretchBlt, SRCCOPY (opaque pictures)
};

// One blit of source (sx, sy, sw, sh) to destination (x, y, w, h).
bool BlitImage(const CImage& image, HDC dc, BlitKind kind, BYTE alpha, int x, int y, int w,
               int h, int sx, int sy, int sw, int sh);

// Draws image into dest keeping the slice widths (image pixels) at their size; alpha
// blends use constant alpha 255. False when no slicing applies and nothing was drawn:
// the caller then draws the picture whole.
bool DrawSliced(const CImage& image, HDC dc, const RECT& dest, const SliceWidths& slice,
                BlitKind kind);

// Premultiplying 32-bit blue, green, red, alpha pixels in place. Pure arithmetic.
#pragma once

#include <cstdint>

enum class AlphaRounding {
  kTruncate,  // c * a / 255: the controls' pictures
  kRound,     // (c * a + 127) / 255: the background window's artwork
};

// The pixels inside the clear rectangle (exclusive right and bottom).
struct ClearRect {
  int left, top, right, bottom;
};

// Walks the width x height pixels column by column; pixel (x, y) sits at
// bits + y * pitch + x * 4 (pitch may be negative for bottom-up bitmaps). Pixels in
// clear first get alpha 0; then each colour channel becomes c * a / 255 with the given
// rounding. Alpha itself is kept.
void PremultiplyPixels(uint8_t* bits, int width, int height, int pitch, const ClearRect& clear,
                       AlphaRounding rounding);

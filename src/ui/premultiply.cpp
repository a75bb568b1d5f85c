#include "ui/premultiply.h"

#include <cstddef>

void PremultiplyPixels(uint8_t* bits, int width, int height, int pitch, const ClearRect& clear,
                       AlphaRounding rounding) {
  const unsigned bias = rounding == AlphaRounding::kRound ? 127 : 0;
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      uint8_t* p = bits + static_cast<std::ptrdiff_t>(y) * pitch + x * 4;
      if (x >= clear.left && x < clear.right && y >= clear.top && y < clear.bottom) p[3] = 0;
      const unsigned a = p[3];
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * a + bias) / 255);
    }
  }
}

// Where the pieces of a sliced picture go: corners keep their size, edges stretch
// along their length and the middle stretches both ways. Pure geometry.
#pragma once

#include <vector>

// A destination rectangle and the source rectangle copied into it, each as x, y,
// width, height.
struct SlicePiece {
  int dx, dy, dw, dh;
  int sx, sy, sw, sh;
};

// Slice widths in image pixels.
struct SliceWidths {
  int left, top, right, bottom;
};

// The pieces that draw an imageW x imageH picture into (left, top, right, bottom):
// nine when both directions slice, three bands when only one does, none when neither
// does (the caller then draws the picture whole). A direction slices when its two
// widths add up to more than 0 and to less than both the image's and the
// destination's extent.
std::vector<SlicePiece> SlicePieces(int imageW, int imageH, int left, int top, int right,
                                    int bottom, const SliceWidths& slice);

#include "ui/slicing.h"

std::vector<SlicePiece> SlicePieces(int w, int h, int L, int T, int R, int B,
                                    const SliceWidths& s) {
  const int W = R - L;
  const int H = B - T;
  const int l = s.left, t = s.top, r = s.right, b = s.bottom;
  const bool across = l + r > 0 && l + r < w && l + r < W;
  const bool down = t + b > 0 && t + b < h && t + b < H;
  if (across && down) {
    return {
        {L, T, l, t, 0, 0, l, t},
        {L + l, T, W - l - r, t, l, 0, w - l - r, t},
        {R - r, T, r, t, w - r, 0, r, t},
        {L, T + t, l, H - t - b, 0, t, l, h - t - b},
        {L + l, T + t, W - l - r, H - t - b, l, t, w - l - r, h - t - b},
        {R - r, T + t, r, H - t - b, w - r, t, r, h - t - b},
        {L, B - b, l, b, 0, h - b, l, b},
        {L + l, B - b, W - l - r, b, l, h - b, w - l - r, b},
        {R - r, B - b, r, b, w - r, h - b, r, b},
    };
  }
  if (across) {
    return {
        {L, T, l, H, 0, 0, l, h},
        {L + l, T, W - l - r, H, l, 0, w - l - r, h},
        {R - r, T, r, H, w - r, 0, r, h},
    };
  }
  if (down) {
    return {
        {L, T, W, t, 0, 0, w, t},
        {L, T + t, W, H - t - b, 0, t, w, h - t - b},
        {L, B - b, W, b, 0, h - b, w, b},
    };
  }
  return {};
}

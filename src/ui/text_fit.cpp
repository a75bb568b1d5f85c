#include "ui/text_fit.h"

namespace {
constexpr wchar_t kEllipsis[] = L"...";
// Room a shortened text leaves free on its right.
constexpr int kSlack = 16;
}  // namespace

FittedText FitLabelText(const std::wstring& text, int limitRight, const MeasureText& measure) {
  TextExtent extent = measure(text);
  FittedText fitted{text, extent.height};
  if (extent.right <= limitRight) return fitted;
  for (size_t i = 0; i < text.size(); ++i) {
    fitted.text = text.substr(0, i) + kEllipsis;
    extent = measure(fitted.text);
    if (extent.right + kSlack > limitRight) break;
  }
  // The height stays the one of the whole text, as the label centres by it.
  return fitted;
}

FittedText FitButtonText(const std::wstring& text, int keepChars, int limitRight,
                         const MeasureText& measure) {
  TextExtent extent = measure(text);
  FittedText fitted{text, extent.height};
  if (extent.right <= limitRight) return fitted;
  if (keepChars < 0) keepChars = 0;
  const size_t keep = static_cast<size_t>(keepChars);
  if (keep >= text.size()) return fitted;
  const std::wstring suffix = text.substr(text.size() - keep);
  for (size_t i = 0;; ++i) {
    fitted.text = text.substr(0, i) + kEllipsis + suffix;
    extent = measure(fitted.text);
    fitted.height = extent.height;
    if (extent.right + kSlack > limitRight || keep + i + 1 >= text.size()) break;
  }
  return fitted;
}

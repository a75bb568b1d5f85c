// Shortening a line of text with "..." until it fits, given a way to measure it.
// Pure logic: the label and the button pass a measure that asks GDI.
#pragma once

#include <functional>
#include <string>

// The measured extent of a text: its right edge (in the caller's coordinates) and its
// height.
struct TextExtent {
  int right;
  int height;
};

using MeasureText = std::function<TextExtent(const std::wstring&)>;

struct FittedText {
  std::wstring text;  // what to draw
  int height;         // the height measured last
};

// The label's rule. When text's right edge passes limitRight, tries "...", then the
// first 1, 2, ... characters followed by "...", and stops at the first candidate whose
// right edge plus 16 passes limitRight; the last candidate built is drawn. A text that
// fits is drawn whole.
FittedText FitLabelText(const std::wstring& text, int limitRight, const MeasureText& measure);

// The button caption's rule: as the label's, but each candidate also keeps the last
// keepChars characters after the "...", and the search also ends when keepChars plus
// the prefix length plus one reaches the text length. A caption no longer than
// keepChars is drawn whole.
FittedText FitButtonText(const std::wstring& text, int keepChars, int limitRight,
                         const MeasureText& measure);

// Which face and text colour a skinned button takes for its state. Pure logic: the
// button applies the plan to its images and label colours.
#pragma once

#include <vector>

// The button's eight faces.
enum class Face {
  kNone = -1,
  kNormal,
  kHover,
  kPressed,
  kDisabled,
  kToggledNormal,
  kToggledHover,
  kToggledPressed,
  kToggledDisabled,
};
inline constexpr int kFaceCount = 8;

// Visual states as stored; kStateRefresh asks to apply the stored state again.
inline constexpr int kStateNormal = 0;
inline constexpr int kStateHover = 1;
inline constexpr int kStatePressed = 2;
inline constexpr int kStateReleased = 3;  // drawn like hover
inline constexpr int kStateRefresh = 4;

enum class TextColor { kToggled, kHover, kNormal };

struct ButtonLook {
  bool loaded[kFaceCount] = {};  // which faces hold a bitmap
  bool toggled = false;
  bool toggledColor = false;  // a toggled button has a text colour of its own
  bool hoverEffects = false;  // the text colour follows the mouse
};

// What SetState does.
struct StatePlan {
  bool ignored = false;               // the requested state is the stored one
  int newState = 0;                   // the state stored afterwards
  std::vector<TextColor> colors;      // text colours set, in order (each redraws)
  Face face = Face::kNone;            // the face made current; kNone keeps the current one
  bool repaint = false;               // a face changed or the state was refreshed
};

StatePlan PlanSetState(int storedState, int requested, const ButtonLook& look);

// The face made current when enabling or disabling; kNone keeps the current one.
// Disabling passes through the normal face first, so an untoggled button without a
// disabled face shows its normal face.
Face PlanEnabledFace(bool enabled, const ButtonLook& look);

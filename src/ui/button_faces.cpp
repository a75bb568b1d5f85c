#include "ui/button_faces.h"

namespace {

bool Loaded(const ButtonLook& look, Face face) {
  return face != Face::kNone && look.loaded[static_cast<int>(face)];
}

bool IsHoverLike(int state) {
  return state == kStateHover || state == kStatePressed || state == kStateReleased;
}

// Picks the face of one set (plain or toggled) for the stored state; true when a face
// was chosen or the refresh fell back to the set's normal face.
bool ChooseFace(const ButtonLook& look, int state, bool refresh, Face normal, Face hover,
                Face pressed, StatePlan* plan) {
  const Face wanted = (state == kStateHover || state == kStateReleased) ? hover
                      : state == kStatePressed                          ? pressed
                                                                        : normal;
  if (Loaded(look, wanted)) {
    plan->face = wanted;
    return true;
  }
  if (refresh && IsHoverLike(state)) {
    if (Loaded(look, normal)) plan->face = normal;
    return true;
  }
  return false;
}

}  // namespace

StatePlan PlanSetState(int storedState, int requested, const ButtonLook& look) {
  StatePlan plan;
  plan.newState = storedState;
  if (requested == storedState) {
    plan.ignored = true;
    return plan;
  }
  const bool refresh = requested == kStateRefresh;
  if (!refresh) plan.newState = requested;
  const int state = plan.newState;
  const TextColor followColor = IsHoverLike(state) ? TextColor::kHover : TextColor::kNormal;
  bool changed = false;
  if (look.toggled) {
    if (look.toggledColor)
      plan.colors.push_back(TextColor::kToggled);
    else if (look.hoverEffects)
      plan.colors.push_back(followColor);
    changed = ChooseFace(look, state, refresh, Face::kToggledNormal, Face::kToggledHover,
                         Face::kToggledPressed, &plan);
  }
  if (!changed) {
    // Not toggled, or toggled without a usable toggled face.
    if (look.hoverEffects) plan.colors.push_back(followColor);
    changed = ChooseFace(look, state, refresh, Face::kNormal, Face::kHover, Face::kPressed, &plan);
  }
  plan.repaint = changed || refresh;
  return plan;
}

Face PlanEnabledFace(bool enabled, const ButtonLook& look) {
  if (enabled) {
    if (look.toggled && Loaded(look, Face::kToggledNormal)) return Face::kToggledNormal;
    return Loaded(look, Face::kNormal) ? Face::kNormal : Face::kNone;
  }
  Face face = Loaded(look, Face::kNormal) ? Face::kNormal : Face::kNone;
  if (!look.toggled) {
    if (Loaded(look, Face::kDisabled)) face = Face::kDisabled;
  } else if (Loaded(look, Face::kToggledDisabled)) {
    face = Face::kToggledDisabled;
  } else if (Loaded(look, Face::kToggledNormal)) {
    face = Face::kToggledNormal;
  }
  return face;
}

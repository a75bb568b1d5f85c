// The toolkit's pure rules: slicing, premultiplication, centring, text shortening and
// the button's faces.
#include <gtest/gtest.h>

#include <string>

#include "ui/button_faces.h"
#include "ui/placement.h"
#include "ui/premultiply.h"
#include "ui/slicing.h"
#include "ui/text_fit.h"

namespace {

bool SamePiece(const SlicePiece& p, std::initializer_list<int> d, std::initializer_list<int> s) {
  const int* a = d.begin();
  const int* b = s.begin();
  return p.dx == a[0] && p.dy == a[1] && p.dw == a[2] && p.dh == a[3] && p.sx == b[0] &&
         p.sy == b[1] && p.sw == b[2] && p.sh == b[3];
}

}  // namespace

TEST(Slicing, LoginBackgroundInNinePieces) {
  const auto pieces = SlicePieces(29, 30, 0, 0, 1100, 800, SliceWidths{5, 5, 5, 5});
  ASSERT_EQ(pieces.size(), 9u);
  EXPECT_TRUE(SamePiece(pieces[0], {0, 0, 5, 5}, {0, 0, 5, 5}));
  EXPECT_TRUE(SamePiece(pieces[1], {5, 0, 1090, 5}, {5, 0, 19, 5}));
  EXPECT_TRUE(SamePiece(pieces[2], {1095, 0, 5, 5}, {24, 0, 5, 5}));
  EXPECT_TRUE(SamePiece(pieces[3], {0, 5, 5, 790}, {0, 5, 5, 20}));
  EXPECT_TRUE(SamePiece(pieces[4], {5, 5, 1090, 790}, {5, 5, 19, 20}));
  EXPECT_TRUE(SamePiece(pieces[5], {1095, 5, 5, 790}, {24, 5, 5, 20}));
  EXPECT_TRUE(SamePiece(pieces[6], {0, 795, 5, 5}, {0, 25, 5, 5}));
  EXPECT_TRUE(SamePiece(pieces[7], {5, 795, 1090, 5}, {5, 25, 19, 5}));
  EXPECT_TRUE(SamePiece(pieces[8], {1095, 795, 5, 5}, {24, 25, 5, 5}));
}

TEST(Slicing, BandsAndNoneByTheTwoConditions) {
  // Left and right add up to the image width: only the vertical bands.
  auto pieces = SlicePieces(20, 30, 10, 10, 110, 70, SliceWidths{10, 4, 10, 6});
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_TRUE(SamePiece(pieces[0], {10, 10, 100, 4}, {0, 0, 20, 4}));
  EXPECT_TRUE(SamePiece(pieces[1], {10, 14, 100, 50}, {0, 4, 20, 20}));
  EXPECT_TRUE(SamePiece(pieces[2], {10, 64, 100, 6}, {0, 24, 20, 6}));

  // Top and bottom as wide as the destination: only the horizontal bands.
  pieces = SlicePieces(40, 40, 0, 0, 100, 10, SliceWidths{3, 5, 7, 5});
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_TRUE(SamePiece(pieces[0], {0, 0, 3, 10}, {0, 0, 3, 40}));
  EXPECT_TRUE(SamePiece(pieces[1], {3, 0, 90, 10}, {3, 0, 30, 40}));
  EXPECT_TRUE(SamePiece(pieces[2], {93, 0, 7, 10}, {33, 0, 7, 40}));

  struct Case {
    int w, h, L, T, R, B;
    SliceWidths s;
  };
  const Case none[] = {
      {29, 30, 0, 0, 1100, 800, {0, 0, 0, 0}},      // the default: no slices
      {29, 30, 0, 0, 8, 8, {5, 5, 5, 5}},           // destination smaller than the borders
      {10, 10, 0, 0, 100, 100, {5, 5, 5, 5}},       // borders as large as the image
      {29, 30, 0, 0, 1100, 800, {-3, -3, 2, 0}},    // widths adding up to nothing
  };
  for (const Case& c : none)
    EXPECT_TRUE(SlicePieces(c.w, c.h, c.L, c.T, c.R, c.B, c.s).empty()) << c.R << "x" << c.B;
}

TEST(Premultiply, TruncatingAndRoundingAndTheClearRectangle) {
  struct Case {
    uint8_t blue, alpha;
    AlphaRounding rounding;
    uint8_t expected;
  };
  const Case cases[] = {
      {255, 128, AlphaRounding::kTruncate, 128}, {255, 128, AlphaRounding::kRound, 128},
      {1, 128, AlphaRounding::kTruncate, 0},     {1, 128, AlphaRounding::kRound, 1},
      {200, 255, AlphaRounding::kTruncate, 200}, {200, 0, AlphaRounding::kRound, 0},
  };
  for (const Case& c : cases) {
    uint8_t pixel[4] = {c.blue, c.blue, c.blue, c.alpha};
    PremultiplyPixels(pixel, 1, 1, 4, ClearRect{0, 0, 0, 0}, c.rounding);
    EXPECT_EQ(pixel[0], c.expected) << int(c.blue) << " x " << int(c.alpha);
    EXPECT_EQ(pixel[2], c.expected);
    EXPECT_EQ(pixel[3], c.alpha) << "alpha is kept";
  }

  // A 3 x 2 bottom-up image (negative pitch): the clear rectangle (1, 0, 3, 1) takes
  // the top row's last two pixels and nothing else.
  uint8_t rows[2][12];
  for (auto& row : rows)
    for (int i = 0; i < 12; ++i) row[i] = (i % 4 == 3) ? 255 : 90;
  uint8_t* top = rows[1];  // bottom-up: the top row is last in memory
  PremultiplyPixels(top, 3, 2, -12, ClearRect{1, 0, 3, 1}, AlphaRounding::kTruncate);
  EXPECT_EQ(top[0], 90);
  EXPECT_EQ(top[3], 255);
  EXPECT_EQ(top[4], 0);
  EXPECT_EQ(top[7], 0);
  EXPECT_EQ(top[11], 0);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(rows[0][i], (i % 4 == 3) ? 255 : 90);
}

TEST(Placement, CentresByTheWorkAreasRightAndBottom) {
  struct Case {
    RECT work, client;
    LONG x, y;
  };
  const Case cases[] = {
      {{0, 0, 1920, 1040}, {0, 0, 1100, 800}, 410, 120},
      {{0, 0, 1920, 1040}, {0, 0, 1250, 700}, 335, 170},
      {{0, 0, 1025, 769}, {0, 0, 1100, 800}, -37, -15},   // truncated toward zero
      {{200, 0, 1920, 1080}, {0, 0, 1100, 800}, 410, 140},  // left edge ignored
  };
  for (const Case& c : cases) {
    const POINT p = CenteredOrigin(c.work, c.client);
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
  }
}

namespace {

// Ten pixels a character, measured from x = 0; height 12.
TextExtent TenPerChar(const std::wstring& s) {
  return TextExtent{static_cast<int>(s.size()) * 10, 12};
}

}  // namespace

TEST(TextFit, LabelShortensToTheFirstCandidateLeavingLessThanSixteen) {
  struct Case {
    std::wstring text;
    int limit;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"abcdefghijklmno", 150, L"abcdefghijklmno"},  // fits exactly
      {L"abcdefghijklmno", 100, L"abcdef..."},        // 90 + 16 > 100 first at six
      {L"abcdefghijklmno", 20, L"..."},               // even "..." leaves no room
      {L"W", 5, L"..."},                              // one character that does not fit
      {L"abcdefghijklmno", 126, L"abcdefghi..."},  // 120 + 16 passes 126, 110 + 16 does not
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitLabelText(c.text, c.limit, TenPerChar).text, c.expected) << c.limit;
}

TEST(TextFit, ButtonCaptionKeepsItsTail) {
  struct Case {
    std::wstring text;
    int keep;
    int limit;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"abcdefghij", 2, 200, L"abcdefghij"},
      {L"abcdefghij", 2, 80, L"ab...ij"},   // 70 + 16 > 80 first with two characters
      {L"abcdefghij", 0, 80, L"abcd..."},
      {L"abcdefghij", 10, 50, L"abcdefghij"},  // nothing to shorten around the tail
      {L"abcdefghij", 7, 50, L"...defghij"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitButtonText(c.text, c.keep, c.limit, TenPerChar).text, c.expected)
        << c.keep << " " << c.limit;
}

namespace {

ButtonLook PlainFaces() {
  ButtonLook look;
  look.loaded[static_cast<int>(Face::kNormal)] = true;
  look.loaded[static_cast<int>(Face::kHover)] = true;
  look.loaded[static_cast<int>(Face::kPressed)] = true;
  return look;
}

}  // namespace

TEST(ButtonFaces, HoverPressReleaseThenAway) {
  const ButtonLook look = PlainFaces();
  struct Step {
    int requested;
    int stored;
    Face face;
  };
  const Step steps[] = {{kStateHover, 1, Face::kHover},
                        {kStatePressed, 2, Face::kPressed},
                        {kStateReleased, 3, Face::kHover},
                        {kStateNormal, 0, Face::kNormal}};
  int state = 0;
  for (const Step& s : steps) {
    const StatePlan plan = PlanSetState(state, s.requested, look);
    EXPECT_FALSE(plan.ignored);
    EXPECT_EQ(plan.newState, s.stored);
    EXPECT_EQ(plan.face, s.face);
    EXPECT_TRUE(plan.repaint);
    EXPECT_TRUE(plan.colors.empty()) << "no hover effects, no colour changes";
    state = plan.newState;
  }
  EXPECT_TRUE(PlanSetState(1, 1, look).ignored);
}

TEST(ButtonFaces, ToggledFacesAndTheirFallbacks) {
  ButtonLook look = PlainFaces();
  look.toggled = true;
  // Toggled without toggled faces: the plain faces, and a refresh still repaints.
  StatePlan plan = PlanSetState(0, kStateRefresh, look);
  EXPECT_EQ(plan.face, Face::kNormal);
  EXPECT_TRUE(plan.repaint);
  EXPECT_EQ(plan.newState, 0);

  look.loaded[static_cast<int>(Face::kToggledNormal)] = true;
  plan = PlanSetState(0, kStateRefresh, look);
  EXPECT_EQ(plan.face, Face::kToggledNormal);
  // Hovering with a toggled normal face only: a refresh falls back to it.
  plan = PlanSetState(1, kStateRefresh, look);
  EXPECT_EQ(plan.face, Face::kToggledNormal);
  // A plain hover request without a toggled hover face uses the plain hover face.
  plan = PlanSetState(0, kStateHover, look);
  EXPECT_EQ(plan.face, Face::kHover);

  // Colours: the toggled colour wins while toggled; then the plain rule applies too
  // when the toggled set had no face.
  look.toggledColor = true;
  look.hoverEffects = true;
  plan = PlanSetState(0, kStateHover, look);
  ASSERT_EQ(plan.colors.size(), 2u);
  EXPECT_EQ(plan.colors[0], TextColor::kToggled);
  EXPECT_EQ(plan.colors[1], TextColor::kHover);
  look.toggled = false;
  plan = PlanSetState(1, kStateNormal, look);
  ASSERT_EQ(plan.colors.size(), 1u);
  EXPECT_EQ(plan.colors[0], TextColor::kNormal);
}

TEST(ButtonFaces, EnablingAndDisabling) {
  ButtonLook look = PlainFaces();
  EXPECT_EQ(PlanEnabledFace(false, look), Face::kNormal) << "no disabled face";
  look.loaded[static_cast<int>(Face::kDisabled)] = true;
  EXPECT_EQ(PlanEnabledFace(false, look), Face::kDisabled);
  look.toggled = true;
  EXPECT_EQ(PlanEnabledFace(false, look), Face::kNormal) << "toggled, no toggled faces";
  look.loaded[static_cast<int>(Face::kToggledNormal)] = true;
  EXPECT_EQ(PlanEnabledFace(false, look), Face::kToggledNormal);
  look.loaded[static_cast<int>(Face::kToggledDisabled)] = true;
  EXPECT_EQ(PlanEnabledFace(false, look), Face::kToggledDisabled);
  EXPECT_EQ(PlanEnabledFace(true, look), Face::kToggledNormal);
  look.toggled = false;
  EXPECT_EQ(PlanEnabledFace(true, look), Face::kNormal);
  EXPECT_EQ(PlanEnabledFace(true, ButtonLook{}), Face::kNone);
}

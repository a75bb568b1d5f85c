// Controls against real GDI and the program's pictures: the base's geometry, the
// label's font and shortening, the button's faces, the picture's drawing.
#include <gtest/gtest.h>

#include <string>

#include "ui/image_ids.h"
#include "ui/kt_button.h"
#include "ui/kt_image.h"
#include "ui/kt_label.h"
#include "ui/picture.h"
#include "ui_fixture.h"

using ui_testing::Blue;
using ui_testing::Canvas;
using ui_testing::Red;

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

// Counts its paints.
struct PaintProbe : CKTBaseControl {
  void OnPaint(HDC) override { ++paints; }
  int paints = 0;
};

class Controls : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ui_testing::CreateTestForm(form, 1000, 300)); }
  void TearDown() override { DestroyWindow(form.GetHwnd()); }
  CKTForm form;
};

}  // namespace

TEST_F(Controls, HitTestExcludesRightAndBottomAndSkipsHiddenOrDisabled) {
  CKTBaseControl control;
  control.SetRect(RECT{10, 20, 30, 40});
  struct Case {
    POINT pt;
    bool hit;
  };
  const Case cases[] = {{{10, 20}, true}, {{29, 39}, true}, {{30, 25}, false},
                        {{15, 40}, false}, {{9, 25}, false}};
  for (const Case& c : cases) EXPECT_EQ(control.HitTest(c.pt), c.hit) << c.pt.x << "," << c.pt.y;
  control.SetVisible(false, false);
  EXPECT_FALSE(control.HitTest(POINT{15, 25}));
  control.SetVisible(true, false);
  control.SetEnabled(false, false);
  EXPECT_FALSE(control.HitTest(POINT{15, 25}));
}

TEST_F(Controls, RightAlignmentFollowsTheOwnersWidth) {
  struct Case {
    const wchar_t* align;
    const POINT* offset;
    RECT expected;
  };
  const POINT shift{3, -2};
  const Case cases[] = {
      {L"right", nullptr, {950, 5, 980, 25}},
      {L"right", &shift, {953, 3, 983, 23}},  // the offset after the alignment
      {L"Right", nullptr, {1, 2, 3, 4}},
      {L"right ", nullptr, {1, 2, 3, 4}},
      {L"", &shift, {4, 0, 6, 2}},
  };
  for (const Case& c : cases) {
    CKTBaseControl control;
    form.AddControl(&control);
    control.SetRect(RECT{1, 2, 3, 4});
    control.m_strAlign = c.align;
    control.m_rcAnchor = RECT{50, 5, 20, 25};
    control.Relayout(c.offset);
    const RECT r = control.GetRect();
    EXPECT_TRUE(EqualRect(&r, &c.expected))
        << "'" << std::wstring(c.align).size() << "' " << r.left << "," << r.top << ","
        << r.right << "," << r.bottom;
    form.RemoveControl(&control);
  }
  // SetAnchorRect applies at once.
  CKTBaseControl control;
  form.AddControl(&control);
  control.m_strAlign = L"right";
  control.SetAnchorRect(RECT{100, 0, 0, 10});
  EXPECT_EQ(control.GetRect().left, 900);
  EXPECT_EQ(control.GetRect().right, 1000);
}

TEST_F(Controls, TypeNames) {
  CKTBaseControl base;
  CKTLabel label;
  CKTButton button;
  CKTImage image;
  EXPECT_EQ(base.GetTypeName(), L"CKTBaseControl");
  EXPECT_EQ(label.GetTypeName(), L"CKTLabel");
  EXPECT_EQ(button.GetTypeName(), L"CKTButton");
  EXPECT_EQ(image.GetTypeName(), L"CKTImage");
  EXPECT_EQ(form.GetTypeName(), L"CKTBaseControl");
}

TEST_F(Controls, HidingRedrawsOnceAndRepeatingDoesNothing) {
  PaintProbe probe;
  PaintProbe hidden;
  probe.SetRect(RECT{0, 0, 100, 100});
  hidden.SetRect(RECT{10, 10, 50, 50});
  form.AddControl(&probe);
  form.AddControl(&hidden);
  ShowWindow(form.GetHwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(form.GetHwnd());
  probe.paints = 0;
  hidden.SetVisible(false, true);
  EXPECT_FALSE(hidden.m_bVisible);
  EXPECT_EQ(probe.paints, 1) << "the rectangle was repainted at once";
  hidden.SetVisible(false, true);
  EXPECT_EQ(probe.paints, 1);
  // Posting instead: nothing until the queue runs.
  hidden.m_bPostPaint = true;
  hidden.SetVisible(true, true);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, form.GetHwnd(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(Controls, LabelShortensAgainstRealMeasurement) {
  const std::wstring text = L"Morvessa 星月之境 — the realm awaits its travellers";
  for (const std::wstring& s : {text, std::wstring(L"W")}) {
    CKTLabel label;
    form.AddControl(&label);
    label.SetAutoWidth(false, 0);
    label.SetRect(RECT{0, 0, s.size() == 1 ? 4 : 100, 24});
    label.SetText(s.c_str(), false);
    Canvas painted(120, 24, RGB(255, 255, 255));
    label.OnPaint(painted.dc());
    ASSERT_NE(label.m_hFont, nullptr);

    // The expected text, found independently: the shortest prefix plus "..." wider
    // than the width less 16; a text with one character draws "...".
    Canvas reference(120, 24, RGB(255, 255, 255));
    const HGDIOBJ old = SelectObject(reference.dc(), label.m_hFont);
    std::wstring expected = L"...";
    for (size_t i = 0; i < s.size(); ++i) {
      expected = s.substr(0, i) + L"...";
      SIZE size = {};
      GetTextExtentPoint32W(reference.dc(), expected.c_str(), static_cast<int>(expected.size()),
                            &size);
      if (size.cx > label.m_rcControl.right - 16) break;
    }
    if (s.size() > 1) {
      EXPECT_LT(expected.size(), s.size());
      EXPECT_GT(expected.size(), 3u);
    }
    RECT full = label.m_rcControl;
    DrawTextW(reference.dc(), s.c_str(), static_cast<int>(s.size()), &full, DT_CALCRECT);
    RECT r = label.m_rcControl;
    InflateRect(&r, 0, -((r.bottom - r.top - (full.bottom - full.top)) / 2));
    SetBkMode(reference.dc(), TRANSPARENT);
    DrawTextW(reference.dc(), expected.c_str(), static_cast<int>(expected.size()), &r, 0);
    SelectObject(reference.dc(), old);
    EXPECT_TRUE(painted.SameAs(reference)) << "drew something other than the shortened text";
    form.RemoveControl(&label);
  }
}

TEST_F(Controls, LabelFontFromItsAttributes) {
  CKTLabel label;
  label.SetFontName(L"微软雅黑", false);
  label.SetFontSize(14, 0, false);
  EXPECT_EQ(label.m_nFontHeight, 9);
  label.SetBold(true, false);
  label.SetUnderline(true, false);
  label.SetText(L"客服", false);
  Canvas canvas(100, 30);
  label.SetRect(RECT{0, 0, 100, 30});
  label.OnPaint(canvas.dc());
  LOGFONTW font = {};
  ASSERT_EQ(GetObjectW(label.m_hFont, sizeof(font), &font), static_cast<int>(sizeof(font)));
  EXPECT_EQ(font.lfHeight, 9);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfUnderline, 1);
  EXPECT_STREQ(font.lfFaceName, L"微软雅黑");
  label.SetFontSize(14, 16, false);
  EXPECT_EQ(label.m_nFontHeight, 16);
  label.SetFontName(L"宋体", false);
  label.SetFontSize(14, 0, false);
  EXPECT_EQ(label.m_nFontHeight, 14);
}

TEST_F(Controls, AutoWidthFollowsTheTextUpToItsCap) {
  CKTLabel label;
  form.AddControl(&label);
  label.SetRect(RECT{20, 0, 21, 20});
  label.SetText(L"检测到您的网络异常，点击这里重试！", false);
  EXPECT_EQ(label.m_rcControl.right, 820) << "widened before the change";
  const int width = label.GetTextWidth();
  ASSERT_GT(width, 40);
  Canvas canvas(900, 20);
  label.OnPaint(canvas.dc());
  EXPECT_EQ(label.m_rcControl.right, 20 + width);
  label.SetAutoWidth(true, width - 30);
  label.OnPaint(canvas.dc());
  EXPECT_EQ(label.m_rcControl.right, 20 + width - 30);
}

TEST_F(Controls, LabelHoverSwitchesColourAndUnderline) {
  CKTLabel label;
  form.AddControl(&label);
  label.SetRect(RECT{0, 0, 50, 20});
  label.SetHoverColors(RGB(200, 200, 200), RGB(232, 178, 72), false);
  label.SetHoverUnderline(false, true, false);
  label.OnMouseMove(0, POINT{5, 5});
  EXPECT_TRUE(label.m_bHovering);
  EXPECT_EQ(label.m_crText, RGB(232, 178, 72));
  EXPECT_TRUE(label.m_bUnderline);
  label.OnMouseMove(0, POINT{60, 5});
  EXPECT_FALSE(label.m_bHovering);
  EXPECT_EQ(label.m_crText, RGB(200, 200, 200));
  EXPECT_FALSE(label.m_bUnderline);
}

TEST_F(Controls, ButtonStatesShowTheirFaces) {
  CKTButton button;
  button.LoadImages(Self(), IDB_LOGIN_CLOSE, IDB_LOGIN_CLOSE_HOVER, IDB_LOGIN_CLOSE_HOVER);
  EXPECT_TRUE(button.m_bPng);
  button.SetRect(RECT{978, 215, 1002, 238});
  form.AddControl(&button);
  EXPECT_EQ(button.GetImageWidth(), 24);
  EXPECT_EQ(button.GetImageHeight(), 23);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgNormal.GetHandle());
  const POINT inside{980, 220};
  button.OnMouseMove(0, inside);
  EXPECT_EQ(button.m_nState, 1);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgHover.GetHandle());
  button.OnLButtonDown(0, inside);
  EXPECT_EQ(button.m_nState, 2);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgPressed.GetHandle());
  button.OnLButtonUp(0, inside);
  EXPECT_EQ(button.m_nState, 3);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgHover.GetHandle());
  button.OnMouseMove(0, POINT{10, 10});
  EXPECT_EQ(button.m_nState, 0);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgNormal.GetHandle());

  // The current face shares a bitmap: destroying the button frees each bitmap once.
  EXPECT_NE(button.m_imgHover.GetHandle(), button.m_imgNormal.GetHandle());
}

TEST_F(Controls, ToggledAndDisabledFallBackToThePlainFaces) {
  PaintProbe below;
  below.SetRect(RECT{0, 0, 100, 100});
  CKTButton button;
  button.LoadImages(Self(), IDB_GAME_FULLSCREEN, IDB_GAME_FULLSCREEN_HOVER,
                    IDB_GAME_FULLSCREEN_HOVER);
  button.SetRect(RECT{10, 10, 37, 37});
  form.AddControl(&below);
  form.AddControl(&button);
  ShowWindow(form.GetHwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(form.GetHwnd());
  below.paints = 0;

  button.SetToggled(true);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgNormal.GetHandle());
  EXPECT_EQ(below.paints, 1) << "redrawn even without toggled faces";

  button.SetToggled(false);
  button.SetEnabled(false, true);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgNormal.GetHandle());

  // Enabling a toggled button over which the mouse is shows the toggled normal face.
  LoadPngResource(Self(), button.m_imgToggledNormal, IDB_GAME_WINDOWED);
  LoadPngResource(Self(), button.m_imgToggledHover, IDB_GAME_WINDOWED_HOVER);
  button.SetEnabled(true, false);
  button.OnMouseMove(0, POINT{12, 12});
  button.SetToggled(true);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgToggledHover.GetHandle());
  button.SetEnabled(false, false);
  button.SetEnabled(true, false);
  EXPECT_EQ(button.m_imgCurrent.GetHandle(), button.m_imgToggledNormal.GetHandle());
  EXPECT_EQ(button.m_nState, 1) << "the state is kept";
}

TEST_F(Controls, PngFaceInOnePieceLetsATraceThrough) {
  CKTButton button;
  button.LoadImages(Self(), IDB_LOGIN_BACK, IDB_LOGIN_BACK, IDB_LOGIN_BACK);
  button.SetRect(RECT{0, 0, 40, 40});
  Canvas black(40, 40, RGB(0, 0, 0));
  button.OnPaint(black.dc());
  EXPECT_EQ(Red(black.Pixel(20, 20)), 254);
  EXPECT_EQ(Blue(black.Pixel(20, 20)), 254);
  Canvas white(40, 40, RGB(255, 255, 255));
  button.OnPaint(white.dc());
  EXPECT_EQ(Red(white.Pixel(20, 20)), 255);

  // Sliced, the pieces are blended at 255.
  button.m_rcSlice = RECT{5, 5, 5, 5};
  Canvas sliced(40, 40, RGB(0, 0, 0));
  button.OnPaint(sliced.dc());
  EXPECT_EQ(sliced.Pixel(20, 20) & 0xFFFFFF, 0xFF80FFu);
}

TEST_F(Controls, ButtonCaptionIsDrawnOverTheFace) {
  CKTButton button;
  button.LoadImages(Self(), IDB_ENTER_GAME, IDB_ENTER_GAME_HOVER, IDB_ENTER_GAME_HOVER);
  button.SetRect(RECT{0, 0, 127, 43});
  Canvas face(127, 43);
  button.OnPaint(face.dc());
  button.SetTextColor(RGB(255, 255, 255), false);
  button.SetText(L"ABC", false);
  Canvas captioned(127, 43);
  button.OnPaint(captioned.dc());
  EXPECT_FALSE(face.SameAs(captioned));
}

TEST_F(Controls, PictureDrawsWholeSlicedOrNothing) {
  CKTImage strip;
  strip.m_bPng = LoadPngResource(Self(), strip.m_image, IDB_GAME_TITLE);
  strip.SetRect(RECT{0, 0, 200, 27});
  Canvas canvas(200, 27, RGB(255, 0, 0));
  strip.OnPaint(canvas.dc());
  // A 24-bit PNG blended at 255 is an opaque copy.
  const uint8_t* row = strip.m_image.GetBits() + 13 * strip.m_image.GetPitch();
  const uint32_t source = row[2] << 16 | row[1] << 8 | row[0];
  EXPECT_EQ(canvas.Pixel(0, 13) & 0xFFFFFF, source);

  strip.SetVisible(false, false);
  Canvas untouched(200, 27, RGB(255, 0, 0));
  strip.OnPaint(untouched.dc());
  EXPECT_EQ(untouched.Pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
  EXPECT_FALSE(strip.HitTest(POINT{5, 5}));

  // The login background: opaque and sliced into the whole window.
  CKTImage back;
  back.m_bPng = LoadPngResource(Self(), back.m_image, IDB_LOGIN_BACK);
  back.m_bTransparent = false;
  back.m_rcSlice = RECT{5, 5, 5, 5};
  back.SetRect(RECT{0, 0, 1100, 800});
  Canvas window(1100, 800);
  back.OnPaint(window.dc());
  EXPECT_EQ(window.Pixel(1099, 799) & 0xFFFFFF, 0xFF80FFu);
  EXPECT_EQ(window.Pixel(550, 400) & 0xFFFFFF, 0xFF80FFu);
  EXPECT_EQ(back.GetImageWidth(), 29);

  CKTImage empty;
  EXPECT_EQ(empty.GetImageWidth(), 0);
  EXPECT_EQ(empty.GetImageHeight(), 0);
}

// The form base and the layered background window, with real windows under Wine.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "ui/image_ids.h"
#include "ui/form_back.h"
#include "ui/kt_button.h"
#include "ui/picture.h"
#include "ui_fixture.h"

using ui_testing::Alpha;
using ui_testing::Blue;
using ui_testing::Green;
using ui_testing::Red;

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

// Records the moves it gets and answers the wheel with false.
struct MoveProbe : CKTBaseControl {
  bool OnMouseMove(UINT, const POINT& pt) override {
    ++moves;
    last = pt;
    return false;
  }
  int moves = 0;
  POINT last{-1, -1};
};

class Forms : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ui_testing::CreateTestForm(form, 400, 300)); }
  void TearDown() override { DestroyWindow(form.GetHwnd()); }
  LRESULT Send(UINT msg, int x, int y) {
    return form.WindowProc(form.GetHwnd(), msg, 0, MAKELPARAM(x, y));
  }
  CKTForm form;
};

}  // namespace

TEST_F(Forms, CreateMakesAHiddenPopupTitledMorvessaOnce) {
  const HWND window = form.GetHwnd();
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP);
  wchar_t text[32] = {};
  GetWindowTextW(window, text, 32);
  EXPECT_STREQ(text, L"Morvessa");
  EXPECT_TRUE(form.Create(ui_testing::FormClass(), L"again", Self(), nullptr));
  EXPECT_EQ(form.GetHwnd(), window);

  CKTForm failing;
  EXPECT_FALSE(failing.Create(L"NoSuchClass", L"x", Self(), nullptr));
  EXPECT_EQ(failing.GetHwnd(), nullptr);
}

TEST_F(Forms, AddBeforeCreateLeavesNoWindow) {
  CKTForm early;
  CKTBaseControl control;
  early.AddControl(&control);
  EXPECT_EQ(control.m_hWnd, nullptr);
  EXPECT_EQ(control.m_pOwner, &early);
  CKTBaseControl later;
  form.AddControl(&later);
  EXPECT_EQ(later.m_hWnd, form.GetHwnd());
  EXPECT_TRUE(form.RemoveControl(&later));
  EXPECT_FALSE(form.RemoveControl(&later));
}

TEST_F(Forms, OnlyTheTopmostHitControlGetsTheMove) {
  MoveProbe under, over, apart;
  under.SetRect(RECT{0, 0, 100, 100});
  over.SetRect(RECT{50, 50, 150, 150});
  apart.SetRect(RECT{200, 200, 250, 250});
  form.AddControl(&under);
  form.AddControl(&over);
  form.AddControl(&apart);
  EXPECT_EQ(Send(WM_MOUSEMOVE, 60, 60), 0);
  EXPECT_EQ(over.moves, 1);
  EXPECT_EQ(under.moves, 0) << "hit, but under another hit control";
  EXPECT_EQ(apart.moves, 1) << "a move outside itself";
  EXPECT_EQ(form.ControlAt(POINT{60, 60}), &over);
  EXPECT_EQ(form.ControlAt(POINT{10, 10}), &under);
  EXPECT_EQ(form.ControlAt(POINT{160, 160}), nullptr);
  EXPECT_TRUE(form.m_bTracking);
}

TEST_F(Forms, LeavingTheWindowReturnsButtonsToNormal) {
  CKTButton corner, a, b;
  for (CKTButton* button : {&corner, &a, &b})
    button->LoadImages(Self(), IDB_GAME_HOME, IDB_GAME_HOME_HOVER, IDB_GAME_HOME_HOVER);
  corner.SetRect(RECT{0, 0, 38, 18});
  a.SetRect(RECT{100, 100, 138, 118});
  b.SetRect(RECT{120, 100, 158, 118});  // overlaps a
  form.AddControl(&corner);
  form.AddControl(&a);
  form.AddControl(&b);
  Send(WM_MOUSEMOVE, 125, 105);
  EXPECT_EQ(b.m_nState, 1);
  EXPECT_EQ(a.m_nState, 0) << "the earlier one keeps its look";
  Send(WM_MOUSEMOVE, 105, 105);
  EXPECT_EQ(a.m_nState, 1);
  EXPECT_EQ(b.m_nState, 0);
  form.WindowProc(form.GetHwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(a.m_nState, 0);
  EXPECT_EQ(b.m_nState, 0);
  EXPECT_EQ(a.m_imgCurrent.GetHandle(), a.m_imgNormal.GetHandle());
  EXPECT_FALSE(form.m_bTracking);
  // Hover seen: the next move asks for tracking again.
  form.WindowProc(form.GetHwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(105, 105));
  EXPECT_TRUE(form.m_bHoverSeen);
  Send(WM_MOUSEMOVE, 105, 105);
  EXPECT_FALSE(form.m_bHoverSeen);
  EXPECT_TRUE(form.m_bTracking);
}

TEST_F(Forms, MessagesHandledAndPassedOn) {
  MoveProbe probe;
  probe.SetRect(RECT{0, 0, 400, 300});
  form.AddControl(&probe);
  // The wheel carries screen coordinates; nothing takes it, yet it is handled.
  POINT screen{10, 10};
  ClientToScreen(form.GetHwnd(), &screen);
  EXPECT_EQ(form.WindowProc(form.GetHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                            MAKELPARAM(screen.x, screen.y)),
            0);
  EXPECT_EQ(Send(WM_LBUTTONDOWN, 5, 5), 0);
  EXPECT_EQ(GetFocus(), form.GetHwnd());
  EXPECT_EQ(Send(WM_LBUTTONDBLCLK, 5, 5), 0);
  EXPECT_EQ(form.WindowProc(form.GetHwnd(), WM_KEYDOWN, VK_F5, 0), 1);
  EXPECT_EQ(form.WindowProc(form.GetHwnd(), WM_ERASEBKGND, 0, 0), 1);
  MSG msg = {};
  EXPECT_TRUE(form.PreTranslateMessage(&msg));
}

TEST_F(Forms, SizingSetsARegionOnePixelLarger) {
  const HWND window = form.GetHwnd();
  SetWindowPos(window, nullptr, 0, 0, 1250, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, region), ERROR) << "WM_SIZE set a region";
  const HRGN expected = CreateRoundRectRgn(0, 0, 1251, 701, 0, 0);
  EXPECT_TRUE(EqualRgn(region, expected));
  EXPECT_TRUE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 1249, 699)) << "the whole client area, corners included";
  EXPECT_TRUE(PtInRegion(region, 1249, 0));
  DeleteObject(expected);
  DeleteObject(region);
}

TEST_F(Forms, CloseDestroysTheWindowAndKeepsTheHandle) {
  const HWND window = form.GetHwnd();
  EXPECT_EQ(form.WindowProc(window, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form.GetHwnd(), window);
}

TEST_F(Forms, ShowCenteredAndOffscreen) {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ASSERT_TRUE(form.ShowCentered(SW_SHOWNOACTIVATE));
  RECT r = {};
  GetWindowRect(form.GetHwnd(), &r);
  EXPECT_EQ(r.left, (work.right - 400) / 2);
  EXPECT_EQ(r.top, (work.bottom - 300) / 2);
  EXPECT_TRUE(IsWindowVisible(form.GetHwnd()));
  CKTForm none;
  EXPECT_FALSE(none.ShowCentered(SW_SHOW));

  ShowOffscreen(form, false);
  GetWindowRect(form.GetHwnd(), &r);
  EXPECT_EQ(r.left, -2000);
  EXPECT_EQ(r.top, -2000);
  EXPECT_TRUE(IsWindowVisible(form.GetHwnd()));
  const LONG_PTR ex = GetWindowLongPtrW(form.GetHwnd(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
}

namespace {

class Background : public ::testing::Test {
 protected:
  void SetUp() override { SetRect(&back.m_rcControl, 0, 0, 1100, 800); }
  void TearDown() override {
    for (CKTForm* form : {static_cast<CKTForm*>(&follower), static_cast<CKTForm*>(&back)})
      if (IsWindow(form->GetHwnd())) DestroyWindow(form->GetHwnd());
    testing_support::PumpFor(0);
  }
  // Initialised and routed like the program's background window.
  bool Initialize(bool topMost = false) {
    if (!back.Initialize(ui_testing::Environment(topMost))) return false;
    ui_testing::Attach(back);
    return true;
  }
  CFormBack back;
  CKTForm follower;
};

}  // namespace

TEST_F(Background, IsLayeredFramelessAndAtTheOrigin) {
  ASSERT_TRUE(Initialize());
  const HWND window = back.GetHwnd();
  ASSERT_NE(window, nullptr);
  const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_FALSE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & WS_EX_TOPMOST);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_FALSE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  RECT r = {};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 1100);
  EXPECT_EQ(r.bottom - r.top, 800);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
}

TEST_F(Background, TopMostSettingMakesItTopmost) {
  ASSERT_TRUE(Initialize(true));
  EXPECT_TRUE(GetWindowLongPtrW(back.GetHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Background, WithoutItsWindowClassItSaysSo) {
  FormEnvironment environment = ui_testing::Environment();
  environment.className = L"NoSuchClassRegistered";
  EXPECT_FALSE(back.Initialize(environment));
  EXPECT_EQ(back.GetHwnd(), nullptr);
}

TEST_F(Background, ArtworkIsCutToTheWindowAndPremultipliedRounding) {
  const HBITMAP bitmap = back.ComposeArtwork(Self());
  ASSERT_NE(bitmap, nullptr);
  DIBSECTION section = {};
  ASSERT_EQ(GetObjectW(bitmap, sizeof(section), &section), static_cast<int>(sizeof(section)));
  EXPECT_EQ(section.dsBm.bmWidth, 1100);
  EXPECT_EQ(section.dsBm.bmHeight, 800);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
  GdiFlush();
  const auto* composed = static_cast<const uint8_t*>(section.dsBm.bmBits);  // top-down

  CImage straight;
  ASSERT_EQ(DecodeResource(Self(), FindResourceW(Self(), MAKEINTRESOURCEW(IDB_BACK_FRAME), L"PNG"),
                           straight),
            S_OK);
  ASSERT_EQ(straight.GetBPP(), 32);
  int clear = 0, opaque = 0, partial = 0;
  for (int y = 0; y < 800; y += 2) {
    for (int x = 0; x < 1100; x += 2) {
      const uint8_t* p = composed + (y * 1100 + x) * 4;
      const uint8_t* s = straight.GetBits() + y * straight.GetPitch() + x * 4;
      ASSERT_EQ(p[3], s[3]) << x << "," << y;
      for (int c = 0; c < 3; ++c) ASSERT_EQ(p[c], (s[c] * s[3] + 127) / 255) << x << "," << y;
      clear += s[3] == 0;
      opaque += s[3] == 255;
      partial += s[3] != 0 && s[3] != 255;
    }
  }
  EXPECT_GT(clear, 10000);
  EXPECT_GT(opaque, 10000);
  EXPECT_GT(partial, 1000);
  DeleteObject(bitmap);
}

TEST_F(Background, FollowerFollowsEveryMove) {
  ASSERT_TRUE(Initialize());
  ASSERT_TRUE(ui_testing::CreateTestForm(follower, 1100, 800));
  back.SetFollower(follower.GetHwnd());
  ShowOffscreen(back, false);
  ShowOffscreen(follower, false);
  const HWND window = back.GetHwnd();
  const HWND login = follower.GetHwnd();

  RECT before = {};
  GetWindowRect(window, &before);
  for (int step = 1; step <= 3; ++step) {
    SetWindowPos(window, nullptr, before.left + 10 * step, before.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT b = {}, l = {};
    GetWindowRect(window, &b);
    GetWindowRect(login, &l);
    EXPECT_EQ(l.left, b.left) << step;
    EXPECT_EQ(l.top, b.top) << step;
  }
  RECT after = {};
  GetWindowRect(login, &after);
  EXPECT_EQ(after.left, before.left + 30);
  EXPECT_EQ(after.top, before.top);
}

TEST_F(Background, ShowOnScreenCentresWithATaskbarButton) {
  ASSERT_TRUE(Initialize());
  ShowOffscreen(back, false);
  back.ShowOnScreen(true);
  const HWND window = back.GetHwnd();
  RECT r = {};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, -2000) << "kept where it was";
  const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_APPWINDOW);
  EXPECT_FALSE(ex & WS_EX_TOOLWINDOW);
  back.ShowOnScreen(false);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, (work.right - 1100) / 2);
  EXPECT_EQ(r.top, (work.bottom - 800) / 2);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST(BackgroundLoader, LeavesPicturesOfOtherDepthsAlone) {
  // A 24-bit picture through the background loader: decoded, not walked as 32 bits.
  CImage image;
  const HRSRC resource = FindResourceW(Self(), MAKEINTRESOURCEW(IDB_GAME_TITLE), L"PNG");
  ASSERT_TRUE(LoadBackgroundImage(Self(), resource, image));
  EXPECT_EQ(image.GetBPP(), 24);
  EXPECT_EQ(image.GetWidth(), 1500);
  const HRSRC manifest = FindResourceW(Self(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  EXPECT_FALSE(LoadBackgroundImage(Self(), manifest, image));
}

// The login window with its own application object, against the stand-in browser
// control: the page events a site produces, the window's placement, its buttons and the
// retry line. Links go to a recording launcher instead of a browser.
#include "web/form_login.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/files.h"
#include "app/global_module.h"
#include "app/messages.h"
#include "app/open_url.h"
#include "fake_browser.h"
#include "support/http_server.h"
#include "support/test_support.h"
#include "ui/placement.h"
#include "web/site.h"
#include "web_test_support.h"

namespace ts = testing_support;

namespace {

std::vector<std::wstring> g_launched;
void RecordLaunch(const wchar_t* url) { g_launched.emplace_back(url); }

constexpr HRESULT kDocumentNotMade = static_cast<HRESULT>(0x800C0010);

class LoginWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(ole.hr);
    ASSERT_HRESULT_SUCCEEDED(fakes.registration);
    ASSERT_TRUE(versionServer.Listening());
    ts::ResetSettings();
    // The version file is asked for here (and not found), so the check is seen.
    WriteIniString(L"Common", L"VersionCheck", versionServer.Url("/vupo/app.ini"), L"");
    g_launched.clear();
    previousLauncher = SetUrlLauncher(&RecordLaunch);
    app = std::make_unique<CGlobalModule>(L"KeltoOvrin.exe");
    RegisterWindowClass(*app, GetModuleHandleW(nullptr));
    // As the normal run mode prepares them.
    SetRect(&app->formBack.m_rcControl, 0, 0, 1100, 800);
    ASSERT_TRUE(app->formBack.Initialize());
    ShowOffscreen(app->formBack);
    SetRect(&app->formLogin.m_rcControl, 0, 0, 1100, 800);
    ASSERT_TRUE(app->formLogin.Initialize());
    ShowOffscreen(app->formLogin);
    ASSERT_EQ(fakes.created.size(), 1u);
    fake = fakes.created[0].Get();
    login = app->formLogin.GetHwnd();
    back = app->formBack.GetHwnd();
  }
  void TearDown() override {
    if (IsWindow(login)) DestroyWindow(login);
    if (IsWindow(back)) DestroyWindow(back);
    ts::PumpFor(20);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    app.reset();
    SetUrlLauncher(previousLauncher);
    ts::ResetSettings();
  }

  CFormLogin& form() { return app->formLogin; }

  // Whether message is waiting for the login window; it is taken off the queue.
  bool TakePosted(UINT message) {
    MSG msg;
    return PeekMessageW(&msg, login, message, message, PM_REMOVE) != FALSE;
  }

  // Press and release on a control. Never on the artwork: a press there starts the
  // system's move loop, which waits for a real mouse.
  void Click(int x, int y) {
    const POINT pt{x, y};
    ASSERT_NE(form().ControlAt(pt), &form().m_imgBack) << x << ", " << y;
    SendMessageW(login, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(login, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  // The page of the login address completes, as the control reports it.
  void CompleteLoginPage() { fake->NavigateComplete2(fake->Frame(), app->GetLoginUrl()); }

  static RECT WindowRect(HWND window) {
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
  }
  // The view's rectangle in the login window's client coordinates.
  RECT ViewRect() {
    RECT rc = WindowRect(form().m_view.m_hWnd);
    MapWindowPoints(nullptr, login, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  POINT Centred(HWND window) {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT client = {};
    GetClientRect(window, &client);
    return CenteredOrigin(work, client);
  }
  static POINT Origin(HWND window) {
    const RECT rc = WindowRect(window);
    return POINT{rc.left, rc.top};
  }

  OleApartment ole;
  FakeBrowserClass fakes;
  ts::HttpServer versionServer;
  UrlLauncher previousLauncher = nullptr;
  std::unique_ptr<CGlobalModule> app;
  FakeBrowser* fake = nullptr;
  HWND login = nullptr;
  HWND back = nullptr;
};

::testing::AssertionResult SamePoint(const POINT& a, const POINT& b) {
  if (a.x == b.x && a.y == b.y) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << a.x << ", " << a.y << ") vs (" << b.x << ", " << b.y << ")";
}

}  // namespace

TEST_F(LoginWindow, StartsOffScreenLoadingTheLoginPageWithTheViewOutOfSight) {
  EXPECT_EQ(GetWindow(login, GW_OWNER), back);
  EXPECT_TRUE(GetWindowLongPtrW(login, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(SamePoint(Origin(login), POINT{-2000, -2000}));
  EXPECT_EQ(fake->navigations, (std::vector<std::wstring>{L"about:blank", app->GetLoginUrl()}));
  EXPECT_TRUE(form().m_view.m_bBlockNewWindows);
  ASSERT_EQ(GetParent(form().m_view.m_hWnd), login);
  const RECT view = ViewRect();
  EXPECT_EQ(view.left, -100);
  EXPECT_EQ(view.right - view.left, 50);
  // Painting order: artwork, the six buttons, the status line last and on top.
  ASSERT_EQ(form().m_controls.size(), 8u);
  EXPECT_EQ(form().m_controls.front(), &form().m_imgBack);
  EXPECT_EQ(form().m_controls.back(), &form().m_lblStatus);
  EXPECT_TRUE(form().m_lblStatus.GetText().empty());
  EXPECT_FALSE(form().m_imgBack.m_image.IsNull());
  EXPECT_FALSE(form().m_btnClose.m_imgNormal.IsNull());
}

TEST_F(LoginWindow, ControlsUnderClicks) {
  const struct {
    POINT pt;
    CKTBaseControl* control;
  } cases[] = {
      {{1021, 217}, &form().m_btnMinimize}, {{1041, 230}, &form().m_btnMinimize},
      {{1042, 230}, &form().m_imgBack},     {{990, 226}, &form().m_btnClose},
      {{326, 230}, &form().m_btnHome},      {{450, 240}, &form().m_btnPay},
      {{850, 240}, &form().m_btnService},   {{750, 240}, &form().m_btnHomeSecond},
      {{10, 10}, &form().m_imgBack},        {{1100, 800}, nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(form().ControlAt(c.pt), c.control) << c.pt.x << ", " << c.pt.y;
}

TEST_F(LoginWindow, LinksOpenInTheUsersBrowser) {
  app->serverId = L"12";
  app->userName = L"bob";
  const struct {
    POINT pt;
    std::wstring url;
  } cases[] = {
      {{360, 238}, site::HomePageUrl()},
      {{750, 238}, site::HomePageUrl()},
      {{460, 238}, site::PayUrl(L"12", L"bob")},
      {{840, 238}, site::ServiceUrl()},
  };
  for (const auto& c : cases) {
    g_launched.clear();
    Click(c.pt.x, c.pt.y);
    EXPECT_EQ(g_launched, std::vector<std::wstring>{c.url}) << c.pt.x;
  }
  // The artwork opens nothing; so does the status line's place while it has no text
  // (an empty line is painted zero wide, so that place is artwork too).
  g_launched.clear();
  SendMessageW(login, WM_LBUTTONUP, 0, MAKELPARAM(100, 700));
  SendMessageW(login, WM_LBUTTONUP, 0, MAKELPARAM(460, 450));
  EXPECT_TRUE(g_launched.empty());
  EXPECT_TRUE(form().m_view.m_bNavigatePending);
  EXPECT_EQ(fake->navigations.size(), 2u);
}

TEST_F(LoginWindow, MinimizeButtonMinimizesTheBackgroundWindow) {
  CompleteLoginPage();
  ASSERT_TRUE(IsWindowVisible(back));
  Click(1030, 224);
  EXPECT_TRUE(IsIconic(back));
  EXPECT_TRUE(IsWindow(login));
}

TEST_F(LoginWindow, EnteringTheGameKeepsServerAndUserAndCancels) {
  const std::wstring host = L"http://h.example/qaro/wd/server.html?";
  const struct {
    const char* name;
    std::wstring url;
    bool enters;
    std::wstring userName;  // "-" where the earlier value stays
    std::wstring serverId;
  } cases[] = {
      {"user, server, enter", host + L"wd_username=bob&wd_server=12&wd_entergame=1", true,
       L"bob&wd_server=12&wd_entergame=1", L"12"},
      {"enter without server", host + L"wd_entergame=1&wd_username=amy", true, L"amy", L""},
      {"enter without user", host + L"wd_server=7&wd_entergame=1", true, L"-", L"7"},
      {"ordinary page with user", host + L"wd_username=cat&wd_server=3", false, L"cat&wd_server=3",
       L""},
      {"ordinary page", L"http://h.example/qaro/wd/index.html", false, L"-", L""},
      {"marker letter case differs", host + L"WD_ENTERGAME=1&wd_server=5", false, L"-", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    app->userName = L"earlier";
    app->serverId = L"99";
    form().m_strGameUrl = L"none";
    const VARIANT_BOOL cancel = fake->BeforeNavigate2(fake->Frame(), c.url);
    EXPECT_EQ(cancel, c.enters ? VARIANT_TRUE : VARIANT_FALSE);
    EXPECT_EQ(TakePosted(WM_OVRIN_ENTER_GAME), c.enters);
    EXPECT_EQ(form().m_strLastUrl, c.url);
    EXPECT_EQ(form().GetGameUrl(), c.enters ? c.url : L"none");
    EXPECT_EQ(app->userName, c.userName == L"-" ? L"earlier" : c.userName);
    EXPECT_EQ(app->serverId, c.serverId);
  }
  // The payment link then carries what the last page left.
  g_launched.clear();
  Click(460, 238);
  EXPECT_EQ(g_launched, std::vector<std::wstring>{site::PayUrl(L"", L"earlier")});
}

TEST_F(LoginWindow, RefusedNewWindowsGoToThePopupOrTheUsersBrowser) {
  const std::wstring oauth = L"http://h.example/action/user/login_oauth.php?act=weibo";
  const struct {
    const char* name;
    std::wstring url;
    bool newWindow;  // else a navigation of the view itself
    bool popup;
    std::vector<std::wstring> launched;
  } cases[] = {
      {"OAuth in a new window", oauth, true, true, {}},
      {"other new window",
       L"http://news.example/today",
       true,
       false,
       {L"http://news.example/today"}},
      {"program download",
       L"http://d.example/setup.exe",
       false,
       false,
       {L"http://d.example/setup.exe"}},
      {"local program", L"file:///C:/windows/notepad.exe", false, false, {}},
      {"OAuth inside the view", oauth, false, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_launched.clear();
    form().m_strOAuthUrl.clear();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    if (c.newWindow) {
      EXPECT_EQ(fake->NewWindow3(c.url), VARIANT_TRUE);
      ASSERT_EQ(fake->navigations.back(), c.url);
    }
    cancel = fake->BeforeNavigate2(fake->Frame(), c.url);
    const bool outside = c.newWindow || c.url.find(L".exe") != std::wstring::npos;
    EXPECT_EQ(cancel, outside ? VARIANT_TRUE : VARIANT_FALSE);
    EXPECT_EQ(TakePosted(WM_OVRIN_OPEN_OAUTH), c.popup);
    EXPECT_EQ(form().GetOAuthUrl(), c.popup ? c.url : L"");
    EXPECT_EQ(g_launched, c.launched);
    EXPECT_FALSE(TakePosted(WM_OVRIN_ENTER_GAME));
  }
}

TEST_F(LoginWindow, FirstCompletionShowsBothWindowsCentredAndChecksTheVersionOnce) {
  CompleteLoginPage();
  EXPECT_TRUE(IsWindowVisible(login));
  EXPECT_TRUE(IsWindowVisible(back));
  EXPECT_TRUE(SamePoint(Origin(login), Centred(login)));
  EXPECT_TRUE(SamePoint(Origin(back), Centred(back)));
  const LONG_PTR exStyle = GetWindowLongPtrW(login, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  const RECT view = ViewRect();
  EXPECT_EQ(view.left, 292);
  EXPECT_EQ(view.top, 257);
  EXPECT_EQ(view.right - view.left, 653);
  EXPECT_EQ(view.bottom - view.top, 385);
  EXPECT_TRUE(versionServer.WaitForRequests(1, 10000));

  // A refused new window makes the next completion count as a first one again: the
  // window is centred once more, but the version file is not asked for twice.
  SetWindowPos(login, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  fake->NewWindow3(L"http://news.example/today");
  fake->BeforeNavigate2(fake->Frame(), L"http://news.example/today");
  fake->NavigateComplete2(fake->Frame(), L"http://h.example/qaro/wd/server.html");
  EXPECT_TRUE(SamePoint(Origin(login), Centred(login)));
  ts::PumpFor(300);
  EXPECT_EQ(versionServer.RequestsTo("/vupo/app.ini").size(), 1u);
}

TEST_F(LoginWindow, PlacementCentresAnyWindowSizeInTheWorkArea) {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const struct {
    int width, height;
  } cases[] = {
      {1100, 800},
      {1101, 801},  // odd leftovers round down
      {300, 200},
  };
  for (const auto& c : cases) {
    SetWindowPos(login, nullptr, 0, 0, c.width, c.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    GetClientRect(login, &client);
    ASSERT_EQ(client.right, c.width);
    form().ShowLoginWindow(false);
    const POINT expected{(work.right - c.width) / 2, (work.bottom - c.height) / 2};
    EXPECT_TRUE(SamePoint(Origin(login), expected)) << c.width << " x " << c.height;
    EXPECT_TRUE(IsWindowVisible(login));
  }
}

TEST_F(LoginWindow, LoadErrorShowsTheRetryLineAndAClickRetriesInPlace) {
  EXPECT_EQ(fake->NavigateError(fake->Frame(), app->GetLoginUrl(), kDocumentNotMade), VARIANT_TRUE);
  EXPECT_EQ(ReadIniString(L"Error", L"ErrorUrl", L"", L""), app->GetLoginUrl());
  EXPECT_EQ(form().m_lblStatus.GetText(), kNetworkErrorText);
  EXPECT_EQ(form().m_lblStatus.m_hCursor, LoadCursorW(nullptr, IDC_HAND));
  EXPECT_TRUE(IsWindowVisible(login));
  EXPECT_TRUE(IsWindowVisible(back));
  EXPECT_TRUE(SamePoint(Origin(login), Centred(login)));
  EXPECT_EQ(ViewRect().left, -100);

  // The player moves the window, then clicks the line: the page loads again.
  SetWindowPos(back, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(login, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Click(462, 449);
  EXPECT_TRUE(form().m_bRetrying);
  EXPECT_EQ(fake->navigations.size(), 3u);
  EXPECT_EQ(fake->navigations.back(), app->GetLoginUrl());
  EXPECT_EQ(form().m_lblStatus.GetText(), kRetryingText);
  EXPECT_EQ(form().m_lblStatus.m_hCursor, LoadCursorW(nullptr, IDC_ARROW));
  Click(462, 449);  // while retrying: nothing
  EXPECT_EQ(fake->navigations.size(), 3u);

  // It fails again: the line comes back where the window is; then the page loads there.
  fake->NavigateError(fake->Frame(), app->GetLoginUrl(), kDocumentNotMade);
  EXPECT_EQ(form().m_lblStatus.GetText(), kNetworkErrorText);
  EXPECT_TRUE(SamePoint(Origin(login), POINT{40, 30}));
  EXPECT_TRUE(SamePoint(Origin(back), POINT{40, 30}));
  CompleteLoginPage();
  EXPECT_TRUE(SamePoint(Origin(login), POINT{40, 30}));
  EXPECT_TRUE(SamePoint(Origin(back), POINT{40, 30}));
  EXPECT_EQ(ViewRect().left, 292);
}

TEST_F(LoginWindow, CancelledLoadsAreNoErrors) {
  fake->NavigateError(fake->Frame(), app->GetLoginUrl(), E_ABORT);
  EXPECT_EQ(ReadIniString(L"Error", L"ErrorUrl", L"<none>", L""), L"<none>");
  EXPECT_TRUE(form().m_lblStatus.GetText().empty());
  EXPECT_TRUE(SamePoint(Origin(login), POINT{-2000, -2000}));
}

TEST_F(LoginWindow, AfterTheGameCompletionsAndErrorsLeaveTheWindowsAlone) {
  CompleteLoginPage();
  ShowWindow(login, SW_HIDE);
  ShowWindow(back, SW_HIDE);
  form().ReturnFromGame();
  EXPECT_TRUE(form().m_bReturned);
  EXPECT_EQ(fake->navigations.back(), app->GetLoginUrl());
  EXPECT_EQ(fake->navigations.size(), 3u);
  CompleteLoginPage();
  fake->NavigateError(fake->Frame(), app->GetLoginUrl(), kDocumentNotMade);
  EXPECT_FALSE(IsWindowVisible(login));
  EXPECT_FALSE(IsWindowVisible(back));
  EXPECT_EQ(ReadIniString(L"Error", L"ErrorUrl", L"<none>", L""), L"<none>");
  EXPECT_TRUE(form().m_lblStatus.GetText().empty());
}

TEST_F(LoginWindow, EveryTopLevelDocumentAsksForTheActiveBeaconAndMarksActive) {
  EXPECT_FALSE(app->IsActiveCounted());
  // Before the page's own completion the frame is unknown: nothing yet.
  fake->DocumentComplete(fake->Frame(), app->GetLoginUrl());
  EXPECT_FALSE(app->IsActiveCounted());
  EXPECT_FALSE(app->statistics.m_bActiveSent);
  CompleteLoginPage();
  fake->DocumentComplete(fake->Frame(), app->GetLoginUrl());
  EXPECT_TRUE(app->IsActiveCounted());
  EXPECT_TRUE(app->statistics.m_bActiveSent);
  fake->DocumentComplete(fake->Frame(), L"http://h.example/qaro/wd/server.html");
  EXPECT_TRUE(app->IsActiveCounted());
}

TEST_F(LoginWindow, OnlyThePagesKeysReachTheView) {
  fake->acceleratorAnswer = S_OK;
  ASSERT_NE(fake->window, nullptr);
  const struct {
    UINT message;
    WPARAM key;
    bool forwarded;
  } cases[] = {
      {WM_KEYDOWN, VK_TAB, true}, {WM_KEYDOWN, VK_RETURN, true}, {WM_KEYUP, VK_F5, true},
      {WM_KEYDOWN, VK_F5, false}, {WM_KEYDOWN, VK_BACK, false},  {WM_CHAR, 'a', false},
      {WM_KEYDOWN, 'C', false},  // without Control
  };
  for (const auto& c : cases) {
    fake->forwarded.clear();
    MSG msg = {};
    msg.hwnd = fake->window;
    msg.message = c.message;
    msg.wParam = c.key;
    EXPECT_EQ(form().PreTranslateMessage(&msg), c.forwarded ? TRUE : FALSE)
        << c.message << " " << c.key;
    EXPECT_EQ(fake->forwarded.size(), c.forwarded ? 1u : 0u) << c.message << " " << c.key;
  }
}

// The login window with a recording host, against the stand-in browser control: the
// page events a site produces, the window's placement, its buttons and the retry line.
// Links go to a recording launcher instead of a browser.
#include "web/form_login.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "base/messages.h"
#include "base/open_url.h"
#include "support/fake_browser.h"
#include "support/test_support.h"
#include "ui/form_back.h"
#include "ui/placement.h"
#include "web/site.h"
#include "web_test_support.h"

namespace ts = testing_support;

namespace {

std::vector<std::wstring> g_launched;
void RecordLaunch(const wchar_t* url) { g_launched.emplace_back(url); }

constexpr HRESULT kDocumentNotMade = static_cast<HRESULT>(0x800C0010);
constexpr wchar_t kLoginUrl[] =
    L"http://127.0.0.1:1/qaro/wd/index.html?referer=kelvancom&frm=qaro&version=3000";

// The program's side of the login window: what it is told, and the addresses it gives.
struct RecordingHost : ILoginHost {
  std::wstring GetLoginUrl() const override { return kLoginUrl; }
  std::wstring GetPayUrl() const override { return site::PayUrl(serverId, userName); }
  void SetUserName(const std::wstring& name) override { userName = name; }
  void SetServerId(const std::wstring& id) override { serverId = id; }
  void OnLoginDocumentComplete() override { ++documentsCompleted; }
  void OnLoginPageShown() override { ++pagesShown; }

  std::wstring userName;
  std::wstring serverId;
  int documentsCompleted = 0;
  int pagesShown = 0;
};

class LoginWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(ole.hr);
    ASSERT_HRESULT_SUCCEEDED(fakes.registration);
    ts::ResetSettings();
    g_launched.clear();
    previousLauncher = SetUrlLauncher(&RecordLaunch);
    // As the normal run mode prepares them.
    SetRect(&formBack.m_rcControl, 0, 0, 1100, 800);
    ASSERT_TRUE(formBack.Initialize(FormsClass::Environment()));
    forms.Route(formBack);
    ShowOffscreen(formBack, false);
    SetRect(&formLogin.m_rcControl, 0, 0, 1100, 800);
    ASSERT_TRUE(formLogin.Initialize(FormsClass::Environment(), formBack, host));
    forms.Route(formLogin);
    ShowOffscreen(formLogin, false);
    ASSERT_EQ(fakes.created.size(), 1u);
    fake = fakes.created[0].Get();
    login = formLogin.GetHwnd();
    back = formBack.GetHwnd();
  }
  void TearDown() override {
    // The login window quits on WM_DESTROY; that WM_QUIT is swept away below.
    if (IsWindow(login)) DestroyWindow(login);
    if (IsWindow(back)) DestroyWindow(back);
    ts::PumpFor(20);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    SetUrlLauncher(previousLauncher);
    ts::ResetSettings();
  }

  CFormLogin& form() { return formLogin; }

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
  void CompleteLoginPage() { fake->NavigateComplete2(fake->Frame(), kLoginUrl); }

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
  UrlLauncher previousLauncher = nullptr;
  RecordingHost host;
  FormsClass forms;
  CFormBack formBack;
  CFormLogin formLogin;
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
  EXPECT_EQ(fake->navigations,
            (std::vector<std::wstring>{L"about:blank", std::wstring(kLoginUrl)}));
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
  host.serverId = L"12";
  host.userName = L"bob";
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
  const std::wstring list = L"http://h.example/qaro/wd/server.html?";
  const struct {
    const char* name;
    std::wstring url;
    bool enters;
    std::wstring userName;  // "-" where the earlier value stays
    std::wstring serverId;
  } cases[] = {
      {"user, server, enter", list + L"wd_username=bob&wd_server=12&wd_entergame=1", true,
       L"bob&wd_server=12&wd_entergame=1", L"12"},
      {"enter without server", list + L"wd_entergame=1&wd_username=amy", true, L"amy", L""},
      {"enter without user", list + L"wd_server=7&wd_entergame=1", true, L"-", L"7"},
      {"ordinary page with user", list + L"wd_username=cat&wd_server=3", false, L"cat&wd_server=3",
       L""},
      {"ordinary page", L"http://h.example/qaro/wd/index.html", false, L"-", L""},
      {"marker letter case differs", list + L"WD_ENTERGAME=1&wd_server=5", false, L"-", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.userName = L"earlier";
    host.serverId = L"99";
    form().m_strGameUrl = L"none";
    const VARIANT_BOOL cancel = fake->BeforeNavigate2(fake->Frame(), c.url);
    EXPECT_EQ(cancel, c.enters ? VARIANT_TRUE : VARIANT_FALSE);
    EXPECT_EQ(TakePosted(WM_OVRIN_ENTER_GAME), c.enters);
    EXPECT_EQ(form().m_strLastUrl, c.url);
    EXPECT_EQ(form().GetGameUrl(), c.enters ? c.url : L"none");
    EXPECT_EQ(host.userName, c.userName == L"-" ? L"earlier" : c.userName);
    EXPECT_EQ(host.serverId, c.serverId);
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

TEST_F(LoginWindow, FirstCompletionShowsBothWindowsCentredAndTellsTheHost) {
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
  EXPECT_EQ(host.pagesShown, 1);

  // A refused new window makes the next completion count as a first one again: the
  // window is centred once more and the host hears of it again (its version check runs
  // once per process all the same).
  SetWindowPos(login, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  fake->NewWindow3(L"http://news.example/today");
  fake->BeforeNavigate2(fake->Frame(), L"http://news.example/today");
  fake->NavigateComplete2(fake->Frame(), L"http://h.example/qaro/wd/server.html");
  EXPECT_TRUE(SamePoint(Origin(login), Centred(login)));
  EXPECT_EQ(host.pagesShown, 2);
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
  EXPECT_EQ(fake->NavigateError(fake->Frame(), std::wstring(kLoginUrl), kDocumentNotMade),
            VARIANT_TRUE);
  EXPECT_EQ(ReadIniString(L"Error", L"ErrorUrl", L"", L""), std::wstring(kLoginUrl));
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
  EXPECT_EQ(fake->navigations.back(), std::wstring(kLoginUrl));
  EXPECT_EQ(form().m_lblStatus.GetText(), kRetryingText);
  EXPECT_EQ(form().m_lblStatus.m_hCursor, LoadCursorW(nullptr, IDC_ARROW));
  Click(462, 449);  // while retrying: nothing
  EXPECT_EQ(fake->navigations.size(), 3u);

  // It fails again: the line comes back where the window is; then the page loads there.
  fake->NavigateError(fake->Frame(), std::wstring(kLoginUrl), kDocumentNotMade);
  EXPECT_EQ(form().m_lblStatus.GetText(), kNetworkErrorText);
  EXPECT_TRUE(SamePoint(Origin(login), POINT{40, 30}));
  EXPECT_TRUE(SamePoint(Origin(back), POINT{40, 30}));
  CompleteLoginPage();
  EXPECT_TRUE(SamePoint(Origin(login), POINT{40, 30}));
  EXPECT_TRUE(SamePoint(Origin(back), POINT{40, 30}));
  EXPECT_EQ(ViewRect().left, 292);
}

TEST_F(LoginWindow, CancelledLoadsAreNoErrors) {
  fake->NavigateError(fake->Frame(), std::wstring(kLoginUrl), E_ABORT);
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
  EXPECT_EQ(fake->navigations.back(), std::wstring(kLoginUrl));
  EXPECT_EQ(fake->navigations.size(), 3u);
  CompleteLoginPage();
  fake->NavigateError(fake->Frame(), std::wstring(kLoginUrl), kDocumentNotMade);
  EXPECT_FALSE(IsWindowVisible(login));
  EXPECT_FALSE(IsWindowVisible(back));
  EXPECT_EQ(ReadIniString(L"Error", L"ErrorUrl", L"<none>", L""), L"<none>");
  EXPECT_TRUE(form().m_lblStatus.GetText().empty());
}

TEST_F(LoginWindow, EveryTopLevelDocumentIsToldToTheHost) {
  // Before the page's own completion the frame is unknown: nothing yet.
  fake->DocumentComplete(fake->Frame(), kLoginUrl);
  EXPECT_EQ(host.documentsCompleted, 0);
  CompleteLoginPage();
  fake->DocumentComplete(fake->Frame(), kLoginUrl);
  EXPECT_EQ(host.documentsCompleted, 1);
  fake->DocumentComplete(fake->Frame(), L"http://h.example/qaro/wd/server.html");
  EXPECT_EQ(host.documentsCompleted, 2);
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

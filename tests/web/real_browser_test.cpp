// The browser view around Wine's own web browser control. It has no HTML engine here:
// Navigate2 raises BeforeNavigate2, fetches the page, then fails with NavigateError
// 0x800C0010. That is enough to keep the host honest: creation, activation, the sink,
// cancelling, and a clean disconnect.
// Winsock's header must come before windows.h.
#include "loopback_http.h"

#include "web/browser_view.h"

#include <gtest/gtest.h>
#include <exdisp.h>

#include <algorithm>
#include <memory>

#include "support/test_support.h"
#include "web_test_support.h"

using Microsoft::WRL::ComPtr;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

bool Has(const std::vector<unsigned>& ids, unsigned id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool Requested(LoopbackHttp& server, const std::string& path) {
  for (const std::string& line : server.Requests())
    if (line.rfind("GET " + path + " ", 0) == 0) return true;
  return false;
}

class RealBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(ole.hr);
    ASSERT_NE(server.port(), 0);
    view = std::make_unique<CBrowserView>();
    recorder.view = view.get();
    view->m_event.AddHandler(&recorder, &NotifyRecorder::OnNotify);
    hwnd = view->CreateBrowser(parent.hwnd, RECT{0, 0, 640, 480}, L"about:blank");
    ASSERT_NE(hwnd, nullptr);
    view->m_bBlockNewWindows = true;
    PumpFor(200);  // let the initial blank page settle
  }
  void TearDown() override { view.reset(); }

  OleApartment ole;
  LoopbackHttp server;
  ParentWindow parent;
  NotifyRecorder recorder;
  std::unique_ptr<CBrowserView> view;
  HWND hwnd = nullptr;
};

TEST_F(RealBrowserTest, HostsTheControlInPlace) {
  ComPtr<IWebBrowser2> browser;
  ASSERT_HRESULT_SUCCEEDED(view->QueryControl(browser));
  VARIANT_BOOL drop = VARIANT_TRUE;
  EXPECT_HRESULT_SUCCEEDED(browser->get_RegisterAsDropTarget(&drop));
  EXPECT_EQ(drop, VARIANT_FALSE);
  // In place: the control made its window inside the view, over the client area.
  const HWND inner = GetWindow(hwnd, GW_CHILD);
  ASSERT_NE(inner, nullptr);
  RECT rect{};
  GetClientRect(inner, &rect);
  EXPECT_EQ(rect.right, 640);
  EXPECT_EQ(rect.bottom, 480);
  // The blank page at creation raised nothing.
  EXPECT_TRUE(recorder.ids.empty());
}

TEST_F(RealBrowserTest, LoopbackPageRaisesBeforeNavigateThenNavigateError) {
  const std::wstring url = server.Url(L"/wd/index.html");
  ASSERT_TRUE(view->Navigate(url));
  ASSERT_TRUE(PumpUntil([&] { return Has(recorder.ids, WEBNOTIFY_NAVIGATEERROR); }, 15000));
  ASSERT_GE(recorder.ids.size(), 2u);
  EXPECT_EQ(recorder.ids.front(), WEBNOTIFY_BEFORENAVIGATE);
  EXPECT_EQ(recorder.urls.front(), url);
  EXPECT_FALSE(Has(recorder.ids, WEBNOTIFY_NAVIGATECOMPLETE));
  EXPECT_TRUE(Requested(server, "/wd/index.html"));
  EXPECT_EQ(view->GetUrl(), url);
}

TEST_F(RealBrowserTest, CancelledNavigationsNeverReachTheServer) {
  // A download is handed out and cancelled; a form's cancel during id 7 works the same.
  ASSERT_TRUE(view->Navigate(server.Url(L"/setup.exe")));
  PumpUntil([&] { return Has(recorder.ids, WEBNOTIFY_OPENOUTSIDE); }, 5000);
  recorder.cancelBeforeNavigate = true;
  ASSERT_TRUE(view->Navigate(server.Url(L"/wd/index.html?wd_entergame=1")));
  PumpUntil([&] { return Has(recorder.ids, WEBNOTIFY_BEFORENAVIGATE); }, 5000);
  PumpFor(500);
  EXPECT_EQ(recorder.ids, (std::vector<unsigned>{WEBNOTIFY_OPENOUTSIDE, WEBNOTIFY_BEFORENAVIGATE}));
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(RealBrowserTest, DestroyingTheWindowDisconnectsCleanly) {
  ASSERT_TRUE(view->Navigate(server.Url(L"/first")));
  ASSERT_TRUE(PumpUntil([&] { return Has(recorder.ids, WEBNOTIFY_NAVIGATEERROR); }, 15000));
  EXPECT_TRUE(DestroyWindow(hwnd));
  PumpFor(300);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(view->m_cRef, 0);  // nobody keeps the view's handler
  const size_t heard = recorder.ids.size();
  EXPECT_FALSE(view->Navigate(server.Url(L"/after")));
  PumpFor(300);
  EXPECT_EQ(recorder.ids.size(), heard);
  EXPECT_FALSE(Requested(server, "/after"));
}

}  // namespace

// The router, the filter and the loop with real windows of the shared class.
#include <gtest/gtest.h>

#include <atomic>

#include "app/entry.h"
#include "app/global_module.h"
#include "app/message_loop.h"
#include "base/messages.h"
#include "net/worker_pool.h"
#include "support/http_server.h"
#include "support/fake_browser.h"
#include "support/test_support.h"
#include "web/form_login.h"

namespace ts = testing_support;

namespace {

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    ts::ResetSettings();
    module = std::make_unique<CGlobalModule>(L"KeltoOvrin.exe");
    // A second registration in the same process fails harmlessly: the class stays.
    RegisterWindowClass(*module, GetModuleHandleW(nullptr));
  }
  void TearDown() override {
    if (IsWindow(module->formLogin.GetHwnd())) DestroyWindow(module->formLogin.GetHwnd());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    module.reset();
    ts::ResetSettings();
  }

  // The WM_QUIT waiting in this thread's queue, if any.
  bool TakeQuit(WPARAM* code) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        *code = msg.wParam;
        return true;
      }
      DispatchMessageW(&msg);
    }
    return false;
  }

  std::unique_ptr<CGlobalModule> module;
};

struct CountingFilter : CMessageFilter {
  explicit CountingFilter(BOOL answer, int* order = nullptr, int mark = 0)
      : answer(answer), order(order), mark(mark) {}
  BOOL PreTranslateMessage(MSG*) override {
    ++calls;
    if (order != nullptr) *order = *order * 10 + mark;
    return answer;
  }
  BOOL answer;
  int* order;
  int mark;
  int calls = 0;
};

}  // namespace

TEST_F(Routing, ClassCarriesTitleAndClassNameFromResources) {
  EXPECT_STREQ(module->windowTitle, L"LireloDrelkin");
  EXPECT_STREQ(module->windowClassName, L"KeltoOvrin");
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"KeltoOvrin", &info));
  EXPECT_EQ(info.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
  EXPECT_NE(info.hIcon, nullptr);
}

TEST_F(Routing, BareLoginWindowIsHiddenToolWindowTitledMorvessa) {
  ASSERT_TRUE(module->formLogin.CreateBare(module->Environment()));
  const HWND login = module->formLogin.GetHwnd();
  EXPECT_FALSE(IsWindowVisible(login));
  wchar_t text[64] = {};
  GetWindowTextW(login, text, 64);
  EXPECT_STREQ(text, L"Morvessa");
  const LONG_PTR exStyle = GetWindowLongPtrW(login, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_TRUE(
      module->formLogin.CreateBare(module->Environment()));  // a second Create makes nothing new
  EXPECT_EQ(module->formLogin.GetHwnd(), login);
}

TEST_F(Routing, QuitNowClosesLoginAndPostsQuitZero) {
  ASSERT_TRUE(module->formLogin.CreateBare(module->Environment()));
  const HWND login = module->formLogin.GetHwnd();
  SendMessageW(login, WM_OVRIN_QUIT_NOW, 0, 0);
  EXPECT_FALSE(IsWindow(login));
  WPARAM code = 99;
  ASSERT_TRUE(TakeQuit(&code));
  EXPECT_EQ(code, 0u);
}

TEST_F(Routing, CloseMessageDestroysLogin) {
  ASSERT_TRUE(module->formLogin.CreateBare(module->Environment()));
  const HWND login = module->formLogin.GetHwnd();
  SendMessageW(login, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(login));
  WPARAM code = 99;
  EXPECT_TRUE(TakeQuit(&code));
}

TEST_F(Routing, UnknownWindowsGetDefaultHandling) {
  // A window of the shared class that no form owns: WM_CLOSE is DefWindowProcW's, which
  // destroys it, and nothing quits.
  const HWND stray = CreateWindowExW(0, L"KeltoOvrin", L"stray", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(stray, nullptr);
  EXPECT_EQ(module->RouteWindowMessage(WM_USER + 1, stray, 0, 0), 0);
  SendMessageW(stray, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(stray));
  WPARAM code = 0;
  EXPECT_FALSE(TakeQuit(&code));
}

TEST_F(Routing, FilterAsksOnlyAVisibleForegroundLogin) {
  // Asked about a click, the login window snaps the background window under itself,
  // which shows whether it was asked at all. The stand-in control takes the place of the
  // browser control, which this test does not need.
  ASSERT_HRESULT_SUCCEEDED(OleInitialize(nullptr));
  FakeBrowserClass fakes;
  ASSERT_HRESULT_SUCCEEDED(fakes.registration);
  ASSERT_TRUE(module->formBack.Initialize(module->Environment()));
  ASSERT_TRUE(module->formLogin.Initialize(module->Environment(), module->formBack, *module));
  const HWND back = module->formBack.GetHwnd();
  const HWND login = module->formLogin.GetHwnd();
  ShowWindow(login, SW_HIDE);
  SetWindowPos(back, HWND_TOP, 0, 0, 100, 100, SWP_NOACTIVATE);
  SetWindowPos(login, HWND_TOP, 300, 200, 100, 100, SWP_NOACTIVATE);
  MSG click = {};
  click.hwnd = login;
  click.message = WM_LBUTTONDOWN;
  auto backLeft = [&] {
    RECT rc;
    GetWindowRect(back, &rc);
    return rc.left;
  };

  EXPECT_FALSE(module->PreTranslateMessage(&click));  // hidden: never asked
  EXPECT_EQ(backLeft(), 0);
  ShowWindow(login, SW_SHOW);
  ASSERT_TRUE(ts::PumpUntil(
      [&] {
        SetForegroundWindow(login);
        return GetForegroundWindow() == login;
      },
      5000));
  EXPECT_FALSE(module->PreTranslateMessage(&click));  // asked; clicks go on to the window
  EXPECT_EQ(backLeft(), 300);
  DestroyWindow(login);
  DestroyWindow(back);
  OleUninitialize();
}

TEST(MessageLoop, FiltersLastAddedFirstAndQuitCodeReturned) {
  int order = 0;
  CountingFilter first(FALSE, &order, 1);
  CountingFilter second(FALSE, &order, 2);
  CMessageLoop loop;
  loop.AddMessageFilter(&first);
  loop.AddMessageFilter(&second);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER + 5, 0, 0);
  PostQuitMessage(7);
  EXPECT_EQ(loop.Run(), 7);
  EXPECT_EQ(order, 21);
  EXPECT_TRUE(loop.RemoveMessageFilter(&first));
  EXPECT_FALSE(loop.RemoveMessageFilter(&first));
}

TEST(MessageLoop, ConsumedMessagesAreNotAskedFurther) {
  CountingFilter inner(FALSE);
  CountingFilter outer(TRUE);
  CMessageLoop loop;
  loop.AddMessageFilter(&inner);
  loop.AddMessageFilter(&outer);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER + 5, 0, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER + 6, 0, 0);
  PostQuitMessage(0);
  EXPECT_EQ(loop.Run(), 0);
  EXPECT_EQ(outer.calls, 2);
  EXPECT_EQ(inner.calls, 0);
}

TEST(LoginKeys, OnlyEditingAndFormKeysReachThePage) {
  const struct {
    UINT message;
    WPARAM key;
    bool control;
    bool forwarded;
  } cases[] = {
      {WM_KEYUP, 'A', false, true},         {WM_KEYDOWN, 'C', true, true},
      {WM_KEYDOWN, 'V', true, true},        {WM_KEYDOWN, 'X', true, true},
      {WM_KEYDOWN, 'Z', true, true},        {WM_KEYDOWN, 'C', false, false},
      {WM_KEYDOWN, 'F', true, false},       {WM_KEYDOWN, VK_TAB, false, true},
      {WM_KEYDOWN, VK_RETURN, false, true}, {WM_KEYDOWN, VK_DELETE, false, true},
      {WM_KEYDOWN, VK_F5, false, false},    {WM_KEYDOWN, VK_BACK, false, false},
      {WM_CHAR, 'a', false, false},         {WM_MOUSEMOVE, 0, false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsKeyForLoginPage(c.message, c.key, c.control), c.forwarded)
        << c.message << " " << c.key;
}

namespace {

std::atomic<int> g_finished{0};
int CountFinished(void*, int, int event, int, intptr_t) {
  if (event == DOWNLOAD_EVENT_FINISHED) ++g_finished;
  return 0;
}

}  // namespace

TEST(ApplicationPool, TheApplicationObjectOwnsAnIdlePool) {
  ts::ResetSettings();
  ts::HttpServer server;
  ts::ScriptedResponse answer;
  answer.body = "v";
  server.Script("/v.ini", answer);
  g_finished = 0;
  {
    CGlobalModule module(L"KeltoOvrin.exe");
    ASSERT_NE(module.workerPool, nullptr);
    EXPECT_FALSE(module.workerPool->IsStarted());
    ASSERT_TRUE(module.workerPool->Start());
    DownloadTask task;
    task.url = server.Url("/v.ini");
    task.filePath = ts::FreshTempDir(L"pool") + L"v.ini";
    task.callback = &CountFinished;
    ASSERT_TRUE(module.workerPool->Enqueue(task));
    ASSERT_TRUE(ts::PumpUntil([] { return g_finished == 1; }, 10000));
  }
  // The destructor stopped and destroyed the workers and the pool (it must not hang).
  EXPECT_EQ(g_finished, 1);
  ts::ResetSettings();
}

namespace {

// A form that retires itself from inside its own handler and then still uses its own
// fields, as a page window does when its page asks it to close.
struct SelfRetiringForm : CKTForm {
  SelfRetiringForm(CGlobalModule& app, int& freed) : app(app), freed(freed) {}
  ~SelfRetiringForm() override { ++freed; }
  LRESULT WindowProc(HWND, UINT msg, WPARAM, LPARAM) override {
    if (msg != WM_USER + 5) return 1;
    app.Retire(this);
    aliveAfterRetiring = freed == 0;
    return 0;
  }
  CGlobalModule& app;
  int& freed;
  bool aliveAfterRetiring = false;
};

}  // namespace

TEST_F(Routing, RetiredFormsAreFreedBetweenMessages) {
  int freed = 0;
  auto* form = new SelfRetiringForm(*module, freed);
  // As the loop hands a message over: the handler runs, then the loop's top comes.
  form->WindowProc(nullptr, WM_USER + 5, 0, 0);
  EXPECT_TRUE(form->aliveAfterRetiring);
  EXPECT_EQ(freed, 0);
  module->AfterMessage();
  EXPECT_EQ(freed, 1);
  module->AfterMessage();
  EXPECT_EQ(freed, 1);

  // Through the real loop.
  module->Retire(new SelfRetiringForm(*module, freed));
  CMessageLoop loop;
  loop.AddMessageFilter(module.get());
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  PostQuitMessage(0);
  loop.Run();
  EXPECT_EQ(freed, 2);

  // Those still retired at the end go with the application object.
  {
    CGlobalModule other(L"KeltoOvrin.exe");
    other.Retire(new SelfRetiringForm(other, freed));
  }
  EXPECT_EQ(freed, 3);
}

// The browser view against the stand-in control: hosting, navigation, the event rules as
// scripted sequences, the UI handlers and keyboard forwarding.
#include "web/browser_view.h"

#include <gtest/gtest.h>
#include <exdispid.h>

#include <memory>

#include "support/fake_browser.h"
#include "web_test_support.h"

using Microsoft::WRL::ComPtr;

namespace {

class BrowserViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(ole.hr);
    fakes = std::make_unique<FakeBrowserClass>();
    ASSERT_HRESULT_SUCCEEDED(fakes->registration);
    ASSERT_NE(parent.hwnd, nullptr);
    view = std::make_unique<CBrowserView>();
    recorder.view = view.get();
    view->m_event.AddHandler(&recorder, &NotifyRecorder::OnNotify);
    hwnd = view->CreateBrowser(parent.hwnd, RECT{10, 20, 410, 320}, L"about:blank");
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(fakes->created.size(), 1u);
    fake = fakes->created[0].Get();
    view->m_bBlockNewWindows = true;
  }
  void TearDown() override {
    view.reset();
    fake = nullptr;
    fakes.reset();
  }

  WebNotifyLParam Self() const { return reinterpret_cast<WebNotifyLParam>(view.get()); }

  OleApartment ole;
  ParentWindow parent;
  std::unique_ptr<FakeBrowserClass> fakes;
  NotifyRecorder recorder;
  std::unique_ptr<CBrowserView> view;
  HWND hwnd = nullptr;
  FakeBrowser* fake = nullptr;
};

TEST_F(BrowserViewTest, HostsTheControlFromTheWindowText) {
  EXPECT_EQ(GetParent(hwnd), parent.hwnd);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) &
                (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN),
            static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN));
  RECT where{};
  GetWindowRect(hwnd, &where);
  MapWindowPoints(nullptr, parent.hwnd, reinterpret_cast<POINT*>(&where), 2);
  EXPECT_EQ(where.left, 10);
  EXPECT_EQ(where.bottom, 320);

  // Client site given, in-place active over the whole client area, inside the view.
  EXPECT_TRUE(fake->clientSite);
  ASSERT_NE(fake->window, nullptr);
  EXPECT_EQ(GetParent(fake->window), hwnd);
  EXPECT_EQ(fake->position.right - fake->position.left, 400);
  EXPECT_EQ(fake->position.bottom - fake->position.top, 300);
  EXPECT_EQ(fake->navigations, (std::vector<std::wstring>{L"about:blank"}));
  EXPECT_EQ(fake->dropTarget, VARIANT_FALSE);
  EXPECT_EQ(fake->advises, 1);
  EXPECT_TRUE(fake->sink);

  // Resizing the view resizes the control.
  MoveWindow(hwnd, 0, 0, 200, 100, TRUE);
  EXPECT_EQ(fake->position.right - fake->position.left, 200);
  EXPECT_EQ(fake->position.bottom - fake->position.top, 100);
}

// What a bare CoCreateInstance and Release leave on a stand-in beyond the registration's
// own reference (Wine's activation keeps one).
LONG RefsLeftByBareCreate(FakeBrowserClass& fakes) {
  ComPtr<IOleObject> object;
  if (FAILED(
          CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object))))
    return -1;
  object.Reset();
  return fakes.created.back()->Refs() - 1;
}

TEST_F(BrowserViewTest, DestroyingTheWindowDisconnectsAndReleasesTheControl) {
  ComPtr<FakeBrowser> keep = fake;  // the registration's and ours
  const LONG before = keep->Refs();
  const LONG activation = RefsLeftByBareCreate(*fakes);
  ASSERT_GE(activation, 0);
  DestroyWindow(hwnd);
  EXPECT_EQ(keep->unadvises, 1);
  EXPECT_FALSE(keep->sink);
  EXPECT_EQ(keep->closeCalls, 1);
  EXPECT_EQ(keep->deactivations, 1);
  EXPECT_EQ(keep->clientSiteCleared, 1);
  EXPECT_FALSE(keep->clientSite);
  // Only the test's references remain: the host let go of everything.
  EXPECT_LT(keep->Refs(), before);
  EXPECT_EQ(keep->Refs(), 2 + activation);
  EXPECT_EQ(view->m_cRef, 0);
  // No control any more: Navigate stores the URL and reports failure.
  EXPECT_FALSE(view->Navigate(L"http://after.example/"));
  EXPECT_EQ(view->GetUrl(), L"http://after.example/");
  EXPECT_EQ(keep->navigations.size(), 1u);
}

TEST_F(BrowserViewTest, NavigateStoresTheUrlAndGoesSilent) {
  EXPECT_TRUE(view->Navigate(L"http://game.example/login?a=1"));
  EXPECT_EQ(fake->navigations.back(), L"http://game.example/login?a=1");
  EXPECT_EQ(fake->silent, VARIANT_TRUE);
  EXPECT_TRUE(view->m_bNavigatePending);
  view->Refresh();
  EXPECT_EQ(fake->refreshCalls, 1);

  // A failing Navigate2: false, URL kept, nothing pending, so no id 8 follows.
  view->m_bNavigatePending = false;
  fake->navigateAnswer = E_ACCESSDENIED;
  fake->silent = VARIANT_FALSE;
  EXPECT_FALSE(view->Navigate(L"http://game.example/next"));
  EXPECT_EQ(view->GetUrl(), L"http://game.example/next");
  EXPECT_FALSE(view->m_bNavigatePending);
  EXPECT_EQ(fake->silent, VARIANT_FALSE);
  fake->NavigateComplete2(fake->Frame(), L"http://game.example/next");
  EXPECT_TRUE(recorder.ids.empty());
}

// ---- Scripted event sequences ----

enum class Op {
  Navigate,     // view->Navigate(text)
  Before,       // BeforeNavigate2(frame, text): cancel checked
  Complete,     // NavigateComplete2(frame, text)
  Document,     // DocumentComplete(frame, text)
  Error,        // NavigateError(frame, text, status): cancel checked
  NewWindow2,   // cancel checked
  NewWindow3,   // NewWindow3(text): cancel checked
  Title,        // TitleChange(text)
  FailNavigate  // the control's Navigate2 fails from here on
};
enum class Frame { Top, Sub };

struct Step {
  Op op;
  const wchar_t* text;
  std::vector<unsigned> ids;            // notifications raised during this step
  VARIANT_BOOL cancel = VARIANT_FALSE;  // Cancel afterwards, where the event has one
  const wchar_t* url = nullptr;         // the view's URL afterwards, when given
  Frame frame = Frame::Top;
  HRESULT status = S_OK;
};

struct Script {
  const char* name;
  bool blockNewWindows;
  bool cancelOnBeforeNavigate;
  std::vector<Step> steps;
};

constexpr VARIANT_BOOL kYes = VARIANT_TRUE;
constexpr VARIANT_BOOL kNo = VARIANT_FALSE;
const std::vector<unsigned> kNone;

const Script kScripts[] = {
    {"late blank completion does not count as the requested page",
     true,
     false,
     {{Op::Navigate, L"http://site.example/login", kNone},
      {Op::Complete, L"about:blank", kNone},
      {Op::Document, L"about:blank", kNone},
      {Op::Complete, L"http://site.example/login", {8}},
      {Op::Document, L"http://site.example/login", {0}}}},
    {"id 0 for every top-level completion, not between Navigate and its id 8",
     true,
     false,
     {{Op::Navigate, L"http://site.example/a", kNone},
      {Op::Complete, L"http://site.example/a", {8}},
      {Op::Document, L"http://site.example/a", {0}},
      {Op::Document, L"http://site.example/frame", kNone, kNo, nullptr, Frame::Sub},
      {Op::Before, L"http://site.example/b", {7}, kNo, L"http://site.example/b"},
      {Op::Complete, L"http://site.example/b", kNone},
      {Op::Document, L"http://site.example/b", {0}},
      {Op::Navigate, L"http://site.example/c", kNone},
      {Op::Document, L"http://site.example/b", kNone},
      {Op::Complete, L"http://site.example/c", {8}},
      {Op::Document, L"http://site.example/c", {0}}}},
    {"about:blank is a prefix before navigating but the whole URL on completion",
     true,
     false,
     {{Op::Navigate, L"http://site.example/", kNone},
      {Op::Before, L"about:blank#top", kNone, kNo, L"http://site.example/"},
      {Op::Before, L"about:blanket", kNone, kNo, L"http://site.example/"},
      {Op::Before, L"javascript:void(0)", kNone, kNo, L"http://site.example/"},
      {Op::Before, L"javascriptish.example", kNone, kNo, L"http://site.example/"},
      {Op::Complete, L"about:blankx", {8}}}},
    {".exe anywhere is cancelled and handed out, case-sensitively",
     true,
     false,
     {{Op::Before, L"http://dl.example/setup.exe", {10}, kYes, L"http://dl.example/setup.exe"},
      {Op::Before,
       L"http://dl.example/get?f=a.exe&v=2",
       {10},
       kYes,
       L"http://dl.example/get?f=a.exe&v=2"},
      {Op::Before, L"http://dl.example/SETUP.EXE", {7}, kNo, L"http://dl.example/SETUP.EXE"}}},
    {"a handler of id 7 cancels the navigation",
     true,
     true,
     {{Op::Before,
       L"http://site.example/?wd_entergame=1",
       {7},
       kYes,
       L"http://site.example/?wd_entergame=1"},
      {Op::Before, L"javascript:go()", kNone, kNo}}},
    {"navigation errors: E_ABORT silent and Cancel untouched, others hidden as id 1",
     true,
     false,
     {{Op::Error, L"http://site.example/", kNone, kNo, nullptr, Frame::Top, E_ABORT},
      {Op::Error,
       L"http://site.example/",
       {1},
       kYes,
       nullptr,
       Frame::Top,
       static_cast<HRESULT>(0x800C0010)},
      {Op::Error,
       L"http://site.example/ad",
       {1},
       kYes,
       nullptr,
       Frame::Sub,
       static_cast<HRESULT>(0x800C0005)}}},
    {"a refused new window navigates the view, is cancelled as id 10 and re-arms id 8",
     true,
     false,
     {{Op::Navigate, L"http://site.example/", kNone},
      {Op::Complete, L"http://site.example/", {8}},
      {Op::Document, L"http://site.example/", {0}},
      {Op::NewWindow3, L"http://oauth.example/login_oauth.php?act=1", kNone, kYes,
       L"http://oauth.example/login_oauth.php?act=1"},
      {Op::Before,
       L"http://oauth.example/login_oauth.php?act=1",
       {10},
       kYes,
       L"http://oauth.example/login_oauth.php?act=1"},
      {Op::Document, L"http://site.example/", kNone},
      {Op::Before, L"http://site.example/list", {7}, kNo},
      {Op::Complete, L"http://site.example/list", {8}},
      {Op::Document, L"http://site.example/list", {0}}}},
    {"new windows to 127.0.0.1 are refused silently",
     true,
     false,
     {{Op::NewWindow3, L"http://127.0.0.1:8080/x", kNone, kYes, L""},
      {Op::Before, L"http://site.example/next", {7}, kNo}}},
    {"new windows open when not blocked",
     false,
     false,
     {{Op::NewWindow2, L"", kNone, kNo}, {Op::NewWindow3, L"http://127.0.0.1/", kNone, kYes}}},
    {"NewWindow2 is refused when blocked", true, false, {{Op::NewWindow2, L"", kNone, kYes}}},
    {"a refused window whose navigation fails does not catch the next one",
     true,
     false,
     {{Op::FailNavigate, L"", kNone},
      {Op::NewWindow3, L"http://other.example/", kNone, kYes, L"http://other.example/"},
      {Op::Before, L"http://site.example/own", {7}, kNo, L"http://site.example/own"}}},
    {"a refused blank or script window opens nothing and arms nothing",
     true,
     false,
     {{Op::NewWindow3, L"about:blank", kNone, kYes, L""},
      {Op::NewWindow3, L"javascript:open()", kNone, kYes, L""},
      {Op::NewWindow3, L"", kNone, kYes, L""},
      {Op::Before, L"about:blank", kNone, kNo},
      {Op::Before, L"http://site.example/own", {7}, kNo, L"http://site.example/own"}}},
    {"title changes carry the text", true, false, {{Op::Title, L"Morvessa - S12", {9}}}},
};

class ScriptedEvents : public BrowserViewTest, public ::testing::WithParamInterface<Script> {};

TEST_P(ScriptedEvents, RaiseExactlyTheExpectedNotifications) {
  const Script& script = GetParam();
  view->m_bBlockNewWindows = script.blockNewWindows;
  recorder.cancelBeforeNavigate = script.cancelOnBeforeNavigate;
  ComPtr<FakeBrowser> subframe;
  subframe.Attach(new FakeBrowser);
  int index = 0;
  for (const Step& step : script.steps) {
    SCOPED_TRACE(testing::Message() << "step " << index++);
    recorder.ids.clear();
    recorder.lParams.clear();
    IDispatch* frame = step.frame == Frame::Top ? fake->Frame() : subframe->Frame();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    bool hasCancel = true;
    switch (step.op) {
      case Op::Navigate:
        EXPECT_TRUE(view->Navigate(step.text));
        hasCancel = false;
        break;
      case Op::Before:
        cancel = fake->BeforeNavigate2(frame, step.text);
        break;
      case Op::Complete:
        fake->NavigateComplete2(frame, step.text);
        hasCancel = false;
        break;
      case Op::Document:
        fake->DocumentComplete(frame, step.text);
        hasCancel = false;
        break;
      case Op::Error:
        cancel = fake->NavigateError(frame, step.text, step.status);
        break;
      case Op::NewWindow2:
        cancel = fake->NewWindow2();
        break;
      case Op::NewWindow3:
        cancel = fake->NewWindow3(step.text);
        break;
      case Op::Title:
        fake->TitleChange(step.text);
        hasCancel = false;
        break;
      case Op::FailNavigate:
        fake->navigateAnswer = E_FAIL;
        hasCancel = false;
        break;
    }
    EXPECT_EQ(recorder.ids, step.ids);
    if (hasCancel) {
      EXPECT_EQ(cancel, step.cancel);
    }
    if (step.url) {
      EXPECT_EQ(view->GetUrl(), step.url);
    }
    for (size_t i = 0; i < recorder.ids.size(); ++i) {
      if (recorder.ids[i] == WEBNOTIFY_TITLECHANGE) {
        EXPECT_EQ(recorder.titles.back(), step.text);
      } else {
        EXPECT_EQ(recorder.lParams[i], Self());
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ScriptedEvents, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<Script>& info) {
                           return "Script" + std::to_string(info.index);
                         });

TEST_F(BrowserViewTest, RefusedNewWindowNavigatesTheViewToItsTarget) {
  const size_t before = fake->navigations.size();
  fake->NewWindow3(L"http://pay.example/pay");
  ASSERT_EQ(fake->navigations.size(), before + 1);
  EXPECT_EQ(fake->navigations.back(), L"http://pay.example/pay");
  EXPECT_TRUE(view->m_bNavigatePending);
  // Loopback, blank and script targets never reach the control.
  fake->NewWindow3(L"http://127.0.0.1/");
  fake->NewWindow3(L"about:blank");
  fake->NewWindow3(L"javascript:x()");
  EXPECT_EQ(fake->navigations.size(), before + 1);
}

TEST_F(BrowserViewTest, MalformedEventsAreIgnored) {
  // Too few arguments, and a status that is no number.
  EXPECT_EQ(fake->Raise(DISPID_BEFORENAVIGATE2, {}), DISP_E_BADPARAMCOUNT);
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"not a status");
  VARIANT none;
  VariantInit(&none);
  EXPECT_EQ(fake->Raise(DISPID_NAVIGATEERROR, {none, none, none, text, none}), DISP_E_TYPEMISMATCH);
  VariantClear(&text);
  // Wrong types where pointers belong: nothing is written through them; an empty URL
  // is an ordinary navigation, an empty new window is refused.
  EXPECT_EQ(fake->Raise(DISPID_BEFORENAVIGATE2, {none, none, none, none, none, none, none}), S_OK);
  EXPECT_EQ(fake->Raise(DISPID_NEWWINDOW3, {none, none, none, none, none}), S_OK);
  // Events the view does not follow are accepted.
  EXPECT_EQ(fake->Raise(DISPID_PROGRESSCHANGE, {none, none}), S_OK);
  EXPECT_EQ(recorder.ids, (std::vector<unsigned>{WEBNOTIFY_BEFORENAVIGATE}));
}

// ---- Documents, scrollbars and focus ----

TEST_F(BrowserViewTest, EveryNavigateComplete2GivesTheDocumentTheViewsHandler) {
  fake->NavigateComplete2(fake->Frame(), L"about:blank");
  EXPECT_EQ(fake->document->setUIHandlerCalls, 1);
  fake->NavigateComplete2(fake->Frame(), L"http://site.example/");
  EXPECT_EQ(fake->document->setUIHandlerCalls, 2);
  ComPtr<IUnknown> expected;
  view->QueryInterface(IID_PPV_ARGS(&expected));
  ComPtr<IUnknown> given;
  fake->document->uiHandler.As(&given);
  EXPECT_EQ(given.Get(), expected.Get());

  // No document: nothing happens and nothing breaks.
  fake->document.Reset();
  fake->NavigateComplete2(fake->Frame(), L"http://site.example/2");
  view->FocusDocument();
}

TEST_F(BrowserViewTest, EveryCompletedFrameLosesItsScrollbars) {
  ComPtr<FakeBrowser> subframe;
  subframe.Attach(new FakeBrowser);
  fake->DocumentComplete(subframe->Frame(), L"http://site.example/frame");
  EXPECT_EQ(subframe->document->bodyObject->scroll, L"no");
  EXPECT_EQ(fake->document->bodyObject->scroll, L"");
  fake->DocumentComplete(fake->Frame(), L"http://site.example/");
  EXPECT_EQ(fake->document->bodyObject->scroll, L"no");
  // A document without a body ends the path quietly.
  subframe->document->bodyObject.Reset();
  fake->DocumentComplete(subframe->Frame(), L"http://site.example/frame");
}

TEST_F(BrowserViewTest, FocusGoesToTheControlAndThePage) {
  SetFocus(parent.hwnd);
  SetFocus(hwnd);
  EXPECT_EQ(fake->uiActivations, 1);
  EXPECT_EQ(fake->document->windowObject->focusCalls, 1);
  view->FocusDocument();
  EXPECT_EQ(fake->document->windowObject->focusCalls, 2);
}

// ---- UI handlers ----

TEST_F(BrowserViewTest, DocumentHandlerAnswers) {
  IDocHostUIHandler* handler = view.get();
  DOCHOSTUIINFO info{};
  info.dwFlags = 0x40;  // kept: flags are added, not replaced
  info.dwDoubleClick = 3;
  EXPECT_EQ(handler->GetHostInfo(&info), S_OK);
  EXPECT_EQ(info.cbSize, sizeof(DOCHOSTUIINFO));
  EXPECT_EQ(info.dwFlags, 0x40u | 0x20000Eu);
  EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT));
  EXPECT_EQ(info.pchHostCss, nullptr);
  EXPECT_EQ(handler->GetHostInfo(nullptr), E_POINTER);

  POINT point{1, 2};
  MSG msg{};
  EXPECT_EQ(handler->ShowContextMenu(0, &point, nullptr, nullptr), S_FALSE);
  EXPECT_EQ(handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(handler->HideUI(), S_OK);
  EXPECT_EQ(handler->UpdateUI(), S_OK);
  EXPECT_EQ(handler->EnableModeless(TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->OnDocWindowActivate(TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->OnFrameWindowActivate(TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->ResizeBorder(nullptr, nullptr, TRUE), E_NOTIMPL);
  EXPECT_EQ(handler->TranslateAccelerator(&msg, nullptr, 0), E_NOTIMPL);
  LPOLESTR key = nullptr;
  EXPECT_EQ(handler->GetOptionKeyPath(&key, 0), S_OK);
  EXPECT_EQ(key, nullptr);
  IDropTarget* drop = nullptr;
  EXPECT_EQ(handler->GetDropTarget(nullptr, &drop), E_NOTIMPL);
  EXPECT_EQ(handler->TranslateUrl(0, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(handler->FilterDataObject(nullptr, nullptr), E_NOTIMPL);

  // GetExternal asks the form, with the out-parameter's address; no form gives one.
  IDispatch* external = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(handler->GetExternal(&external), S_OK);
  EXPECT_EQ(external, nullptr);
  ASSERT_EQ(recorder.ids, (std::vector<unsigned>{WEBNOTIFY_GETEXTERNAL}));
  EXPECT_EQ(recorder.wParams[0], reinterpret_cast<WebNotifyWParam>(&external));
  EXPECT_EQ(recorder.lParams[0], Self());
  EXPECT_EQ(handler->GetExternal(nullptr), E_POINTER);
  EXPECT_EQ(recorder.ids.size(), 1u);
}

TEST_F(BrowserViewTest, HandlerQueryInterfaceAndCounting) {
  IDocHostUIHandler* handler = view.get();
  EXPECT_EQ(handler->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(handler->QueryInterface(IID_IDispatch, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(handler->QueryInterface(__uuidof(IDocHostUIHandler2), &object), E_NOINTERFACE);
  const LONG before = view->m_cRef;
  ASSERT_EQ(handler->QueryInterface(IID_IDocHostUIHandler, &object), S_OK);
  EXPECT_EQ(object, static_cast<void*>(handler));
  EXPECT_EQ(view->m_cRef, before + 1);
  // Down to zero and below is only counting: the view is never deleted through Release.
  handler->Release();
  handler->Release();
  EXPECT_EQ(view->m_cRef, before - 1);
  EXPECT_TRUE(view->Navigate(L"http://still.alive.example/"));
  handler->AddRef();
}

TEST_F(BrowserViewTest, HostLevelAnswersReachTheControl) {
  // The control finds the host's UI handler on its client site.
  ComPtr<IDocHostUIHandler> host;
  ASSERT_HRESULT_SUCCEEDED(fake->clientSite.As(&host));
  DOCHOSTUIINFO info{};
  EXPECT_EQ(host->GetHostInfo(&info), S_OK);
  EXPECT_EQ(info.cbSize, sizeof(DOCHOSTUIINFO));
  EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER));  // host's own, untouched
  POINT point{};
  EXPECT_EQ(host->ShowContextMenu(0, &point, nullptr, nullptr), S_OK);  // no menu
  EXPECT_EQ(host->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(host->EnableModeless(TRUE), S_OK);
  MSG msg{};
  EXPECT_EQ(host->TranslateAccelerator(&msg, nullptr, 0), S_FALSE);  // the control handles it
  LPOLESTR key = nullptr;
  EXPECT_EQ(host->GetOptionKeyPath(&key, 0), E_NOTIMPL);
  EXPECT_EQ(key, nullptr);
  LPWSTR translated = nullptr;
  EXPECT_EQ(host->TranslateUrl(0, const_cast<LPWSTR>(L"http://a/"), &translated), S_FALSE);
  IDispatch* external = nullptr;
  EXPECT_EQ(host->GetExternal(&external), S_OK);
  EXPECT_EQ(external, nullptr);
  EXPECT_EQ(recorder.ids, (std::vector<unsigned>{WEBNOTIFY_GETEXTERNAL}));
}

// ---- Keyboard and mouse forwarding ----

struct ForwardCase {
  UINT message;
  bool toControlWindow;  // else aimed at the parent, outside the view
  HRESULT controlAnswer;
  bool forwarded;
  BOOL result;
};

TEST_F(BrowserViewTest, PreTranslateForwardsInputAndReturnsTheControlsAnswer) {
  const ForwardCase cases[] = {
      {WM_KEYDOWN, true, S_OK, true, TRUE},
      {WM_KEYDOWN, true, S_FALSE, true, FALSE},
      {WM_CHAR, true, S_OK, true, TRUE},
      {0x0109, true, S_OK, true, TRUE},    // last keyboard message
      {0x010A, true, S_OK, false, FALSE},  // past it
      {WM_MOUSEMOVE, true, S_OK, true, TRUE},
      {0x020E, true, S_FALSE, true, FALSE},  // horizontal wheel, last mouse message
      {0x020F, true, S_OK, false, FALSE},
      {WM_PAINT, true, S_OK, false, FALSE},
      {WM_KEYDOWN, false, S_OK, false, FALSE},
  };
  for (const ForwardCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message
                                    << (c.toControlWindow ? " to control" : " to parent"));
    fake->forwarded.clear();
    fake->acceleratorAnswer = c.controlAnswer;
    MSG msg{};
    msg.hwnd = c.toControlWindow ? fake->window : parent.hwnd;
    msg.message = c.message;
    msg.wParam = VK_TAB;
    EXPECT_EQ(view->PreTranslateMessage(&msg), c.result);
    ASSERT_EQ(fake->forwarded.size(), c.forwarded ? 1u : 0u);
    if (c.forwarded) {
      EXPECT_EQ(fake->forwarded[0].message, c.message);
      EXPECT_EQ(fake->forwarded[0].hwnd, fake->window);
    }
  }
  // Aimed at the view itself counts too; no message at all does not.
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = WM_KEYUP;
  fake->acceleratorAnswer = S_OK;
  EXPECT_EQ(view->PreTranslateMessage(&msg), TRUE);
  EXPECT_EQ(view->PreTranslateMessage(nullptr), FALSE);
  EXPECT_EQ(SendMessageW(hwnd, WM_FORWARDMSG, 0, 0), 0);
}

// ---- Without a control ----

TEST(BrowserViewNoControl, EverythingDegradesQuietly) {
  OleApartment ole;
  ASSERT_HRESULT_SUCCEEDED(ole.hr);
  ParentWindow parent;
  FakeBrowserClass fakes;
  NotifyRecorder recorder;
  CBrowserView view;
  view.m_event.AddHandler(&recorder, &NotifyRecorder::OnNotify);
  // No URL in the window text: the host creates no control.
  const HWND hwnd = view.CreateBrowser(parent.hwnd, RECT{0, 0, 100, 100}, L"");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(fakes.created.empty());
  EXPECT_FALSE(view.Navigate(L"http://site.example/"));
  EXPECT_EQ(view.GetUrl(), L"http://site.example/");
  EXPECT_FALSE(view.m_bNavigatePending);
  view.Refresh();
  view.FocusDocument();
  SetFocus(hwnd);
  MSG msg{hwnd, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(view.PreTranslateMessage(&msg), FALSE);
  // A second window for the same view, or one without a parent, is refused.
  EXPECT_EQ(view.CreateBrowser(parent.hwnd, RECT{0, 0, 10, 10}, L""), nullptr);
  CBrowserView orphan;
  EXPECT_EQ(orphan.CreateBrowser(nullptr, RECT{0, 0, 10, 10}, L"about:blank"), nullptr);
  EXPECT_TRUE(recorder.ids.empty());
}

TEST(BrowserViewNoControl, DestroyingTheViewObjectDestroysItsWindow) {
  OleApartment ole;
  ParentWindow parent;
  FakeBrowserClass fakes;
  HWND hwnd = nullptr;
  {
    CBrowserView view;
    hwnd = view.CreateBrowser(parent.hwnd, RECT{0, 0, 100, 100}, L"about:blank");
    ASSERT_NE(hwnd, nullptr);
  }
  EXPECT_FALSE(IsWindow(hwnd));
  ASSERT_EQ(fakes.created.size(), 1u);
  EXPECT_EQ(fakes.created[0]->unadvises, 1);
  EXPECT_EQ(fakes.created[0]->closeCalls, 1);
}

}  // namespace

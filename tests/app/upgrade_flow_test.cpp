// The whole upgrade path in this process: the version file and the upgrader come from a
// loopback server, the offer is answered by pressing OK in the real message box, and the
// upgrader is one of the test programs signed at build time.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "app/entry.h"
#include "base/files.h"
#include "app/global_module.h"
#include "app/message_loop.h"
#include "app/upgrade_rules.h"
#include "support/http_server.h"
#include "support/test_support.h"
#include "upgrade_test_support.h"

namespace ts = testing_support;

namespace {

std::string VersionFile(const std::string& current, const std::string& range = "") {
  return "[version]\r\ncurrentversion=" + current + "\r\nupgraderange=" + range + "\r\n";
}

ts::ScriptedResponse Ok(std::string body) {
  ts::ScriptedResponse response;
  response.body = std::move(body);
  return response;
}

std::wstring BoxText(HWND box) {
  wchar_t text[256] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 256);  // the message box's static text
  return text;
}

class Upgrade : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening());
    ts::ResetSettings();
    ts::RemoveTree(GetUpgradeFolder());
    WriteIniString(L"Common", L"VersionCheck", server.Url("/vupo/app.ini"), L"");
    WriteIniString(L"Common", L"VersionDownLoad", server.Url("/vupo/vupoqaro.exe"), L"");
    app = std::make_unique<CGlobalModule>(L"KeltoOvrin.exe");
    RegisterWindowClass(*app, GetModuleHandleW(nullptr));
    SetRect(&app->formBack.m_rcControl, 0, 0, 300, 200);
    SetRect(&app->formLogin.m_rcControl, 0, 0, 300, 200);
    ASSERT_TRUE(app->formBack.Initialize(app->Environment()));
    ASSERT_TRUE(app->formLogin.CreateBare(app->Environment()));
    ShowWindow(app->formBack.GetHwnd(), SW_SHOWNA);
    ShowWindow(app->formLogin.GetHwnd(), SW_SHOWNA);
  }
  void TearDown() override {
    if (IsWindow(app->formLogin.GetHwnd())) DestroyWindow(app->formLogin.GetHwnd());
    if (IsWindow(app->formBack.GetHwnd())) DestroyWindow(app->formBack.GetHwnd());
    ts::PumpFor(50);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    app.reset();  // stops the workers
    ts::ResetSettings();
    ts::RemoveTree(GetUpgradeFolder());
  }

  void ServeUpgrader(const std::wstring& signingFile) {
    server.Script("/vupo/vupoqaro.exe", Ok(ts::ReadFileBytes(SigningFile(signingFile))));
  }

  // Runs the program's message loop from the version check on, while a helper thread
  // answers the offer with OK. The loop's exit code, or -1 when it had to be cut short.
  int RunCheckAnsweringTheOffer() {
    const DWORD mainThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread answerer([&] {
      const ULONGLONG deadline = GetTickCount64() + 30000;
      HWND box = nullptr;
      while (box == nullptr && !done && GetTickCount64() < deadline) {
        box = FindWindowW(L"#32770", kUpgradeCaption);
        if (box == nullptr) Sleep(20);
      }
      if (box != nullptr) {
        offerText = BoxText(box);
        offerOwner = GetWindow(box, GW_OWNER);
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      }
      // Waits for the outcome: the program quits, or the windows come back. The nudges
      // let the watcher look again after windows changed from another thread.
      while (!done && GetTickCount64() < deadline) {
        PostThreadMessageW(mainThread, WM_NULL, 0, 0);
        Sleep(20);
      }
      if (!done) PostThreadMessageW(mainThread, WM_QUIT, static_cast<WPARAM>(-1), 0);
    });
    app->StartVersionCheck();
    CMessageLoop loop;
    quitAfterShow = std::make_unique<ShowWatcher>(*app, done);
    loop.AddMessageFilter(quitAfterShow.get());
    const int code = loop.Run();
    done = true;
    answerer.join();
    return code;
  }

  // Ends the loop once both windows are visible again after having been hidden.
  struct ShowWatcher : CMessageFilter {
    ShowWatcher(CGlobalModule& app, std::atomic<bool>& done) : app(app), done(done) {}
    BOOL PreTranslateMessage(MSG*) override {
      const bool shown =
          IsWindowVisible(app.formLogin.GetHwnd()) && IsWindowVisible(app.formBack.GetHwnd());
      if (!shown) wasHidden = true;
      if (wasHidden && shown && !done) {
        done = true;
        PostQuitMessage(7);
      }
      return FALSE;
    }
    CGlobalModule& app;
    std::atomic<bool>& done;
    bool wasHidden = false;
  };

  ts::HttpServer server;
  std::unique_ptr<CGlobalModule> app;
  std::unique_ptr<ShowWatcher> quitAfterShow;
  std::wstring offerText;
  HWND offerOwner = nullptr;
};

constexpr int kWindowsBack = 7;  // the watcher's exit code: both windows shown again

std::wstring LastUpgrade() {
  return ReadIniString(L"version", L"lastUpgradeVer", L"<none>", GetLastUpgradeIniPath());
}

}  // namespace

TEST_F(Upgrade, SignedUpgraderIsStartedAndTheVersionRecorded) {
  server.Script("/vupo/app.ini", Ok(VersionFile("3.0.0.1")));
  ServeUpgrader(L"signed.exe");

  EXPECT_EQ(RunCheckAnsweringTheOffer(), 0);  // the login window closed: the program ends

  EXPECT_EQ(offerText, L"检测到最新版本[3.0.0.1]，确认更新！");
  EXPECT_EQ(offerOwner, app->formLogin.GetHwnd());
  EXPECT_EQ(ts::ReadFileBytes(GetUpgradeFolder() + L"app.ini"), VersionFile("3.0.0.1"));
  EXPECT_FALSE(IsWindow(app->formLogin.GetHwnd()));
  EXPECT_FALSE(IsWindowVisible(app->formBack.GetHwnd()));
  EXPECT_EQ(LastUpgrade(), L"3.0.0.1");
  EXPECT_EQ(app->latestVersion, L"3.0.0.1");
  // The upgrader (a test program) leaves its command line beside itself.
  const std::wstring marker = GetUpgraderPath() + L".ran";
  ASSERT_TRUE(ts::PumpUntil([&] { return ts::ReadFileBytes(marker).size() > 0; }, 10000));
  const std::string line = ts::ReadFileBytes(marker);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(line.data()), line.size() / 2),
            L" /S /KTUPGRADE");
}

TEST_F(Upgrade, RefusedUpgraderIsDeletedAndThePlayerGoesOn) {
  const wchar_t* refused[] = {L"unsigned.exe", L"tampered.exe", L"untrusted_authority.exe",
                              L"other_signer.exe"};
  for (const wchar_t* file : refused) {
    SCOPED_TRACE(testing::Message() << file);
    server.Script("/vupo/app.ini", Ok(VersionFile("3.0.0.2", "1000,2000-3000")));
    ServeUpgrader(file);
    const size_t fetched = server.RequestsTo("/vupo/vupoqaro.exe").size();
    // A fresh application object: the check runs once per process.
    TearDown();
    SetUp();

    EXPECT_EQ(RunCheckAnsweringTheOffer(), kWindowsBack);

    EXPECT_EQ(offerText, L"检测到最新版本[3.0.0.2]，确认更新！");
    EXPECT_EQ(server.RequestsTo("/vupo/vupoqaro.exe").size(), fetched + 1);
    EXPECT_FALSE(ts::FileExists(GetUpgraderPath()));
    EXPECT_FALSE(ts::FileExists(GetUpgraderPath() + L".ran"));
    EXPECT_EQ(LastUpgrade(), L"<none>");
    EXPECT_TRUE(IsWindow(app->formLogin.GetHwnd()));
  }
}

TEST_F(Upgrade, FailedUpgraderDownloadGivesTheWindowsBack) {
  server.Script("/vupo/app.ini", Ok(VersionFile("3.0.0.1")));
  ts::ScriptedResponse missing;
  missing.status = 404;
  server.Script("/vupo/vupoqaro.exe", missing);

  EXPECT_EQ(RunCheckAnsweringTheOffer(), kWindowsBack);
  EXPECT_FALSE(ts::FileExists(GetUpgraderPath()));
  EXPECT_EQ(LastUpgrade(), L"<none>");
}

TEST_F(Upgrade, RecordedVersionIsNotOfferedAgainAndTheCheckRunsOnce) {
  CreateDirectoryPath(GetUpgradeFolder().c_str());
  WriteIniString(L"version", L"lastUpgradeVer", L"3.0.0.1", GetLastUpgradeIniPath());
  server.Script("/vupo/app.ini", Ok(VersionFile("3.0.0.1")));

  app->StartVersionCheck();
  app->StartVersionCheck();
  ASSERT_TRUE(server.WaitForRequests(1, 10000));
  // Long enough for the completion to have offered, had it wanted to.
  ts::PumpFor(1500);
  EXPECT_EQ(FindWindowW(L"#32770", kUpgradeCaption), nullptr);
  EXPECT_EQ(server.RequestsTo("/vupo/app.ini").size(), 1u);
  EXPECT_TRUE(server.RequestsTo("/vupo/vupoqaro.exe").empty());
  EXPECT_EQ(app->latestVersion, L"3.0.0.1");
  EXPECT_TRUE(IsWindowVisible(app->formLogin.GetHwnd()));
}

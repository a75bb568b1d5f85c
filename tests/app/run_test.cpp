// CGlobalModule::Run in this process, with real windows of the shared class.
#include <gtest/gtest.h>

#include <cwchar>
#include <thread>

#include "app/desktop.h"
#include "app/entry.h"
#include "base/files.h"
#include "app/global_module.h"
#include "base/messages.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

struct Placement {
  RECT back = {};
  RECT login = {};
  LONG_PTR backExStyle = 0;
  LONG_PTR loginExStyle = 0;
  bool backVisible = false;
  bool loginVisible = false;
  HWND loginOwner = nullptr;
};

Placement g_seen;

// Runs inside the loop: records where the windows are, then ends the run the way a
// one-shot completion does.
void CALLBACK LookAndQuit(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  CGlobalModule& app = *App();
  const HWND back = app.formBack.GetHwnd();
  const HWND login = app.formLogin.GetHwnd();
  GetWindowRect(back, &g_seen.back);
  GetWindowRect(login, &g_seen.login);
  g_seen.backExStyle = GetWindowLongPtrW(back, GWL_EXSTYLE);
  g_seen.loginExStyle = GetWindowLongPtrW(login, GWL_EXSTYLE);
  g_seen.backVisible = IsWindowVisible(back);
  g_seen.loginVisible = IsWindowVisible(login);
  g_seen.loginOwner = GetWindow(login, GW_OWNER);
  PostMessageW(login, WM_OVRIN_QUIT_NOW, 0, 0);
}

Placement RunNormalMode() {
  g_seen = Placement();
  CGlobalModule module(L"KeltoOvrin.exe");
  RegisterWindowClass(module, GetModuleHandleW(nullptr));
  SetTimer(nullptr, 0, 200, LookAndQuit);
  EXPECT_EQ(module.Run(), 0);
  DestroyWindow(module.formBack.GetHwnd());
  return g_seen;
}

}  // namespace

TEST(Run, NormalModeParksBothWindowsOffscreen) {
  ts::ResetSettings();
  const Placement seen = RunNormalMode();
  for (const RECT& rc : {seen.back, seen.login}) {
    EXPECT_EQ(rc.left, -2000);
    EXPECT_EQ(rc.top, -2000);
    EXPECT_EQ(rc.right - rc.left, 1100);
    EXPECT_EQ(rc.bottom - rc.top, 800);
  }
  EXPECT_TRUE(seen.backVisible);
  EXPECT_TRUE(seen.loginVisible);
  EXPECT_TRUE(seen.backExStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(seen.backExStyle & WS_EX_APPWINDOW);
  EXPECT_FALSE(seen.backExStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(seen.loginExStyle & WS_EX_LAYERED);
  ts::ResetSettings();
}

TEST(Run, TopMostOneMakesTheWindowsTopmostTwoDoesNot) {
  ts::ResetSettings();
  WriteIniString(L"Common", L"TopMost", L"1", L"");
  Placement seen = RunNormalMode();
  EXPECT_TRUE(seen.backExStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(seen.loginExStyle & WS_EX_TOPMOST);
  WriteIniString(L"Common", L"TopMost", L"2", L"");
  seen = RunNormalMode();
  EXPECT_FALSE(seen.backExStyle & WS_EX_TOPMOST);
  EXPECT_FALSE(seen.loginExStyle & WS_EX_TOPMOST);
  ts::ResetSettings();
}

TEST(Run, CompanionStartsOnlyWhenPresent) {
  const std::wstring companion = GetDataFolder() + L"Sparvel.exe";
  const std::wstring marker = companion + L".ran";
  DeleteFileW(companion.c_str());
  DeleteFileW(marker.c_str());
  LaunchCompanion();  // absent: nothing happens
  ASSERT_TRUE(CopyFileW((ts::ExeDir() + L"test_child.exe").c_str(), companion.c_str(), FALSE));
  LaunchCompanion();
  EXPECT_TRUE(ts::PumpUntil([&] { return ts::FileExists(marker); }, 10000));
  ts::PumpFor(200);
  DeleteFileW(companion.c_str());
  DeleteFileW(marker.c_str());
}

// A window the mode needs that cannot be made ends the run at once with its own code,
// instead of a loop that waits for ever with no window (and nothing is posted to a
// window that is not there).
TEST(Run, WithoutItsWindowsEveryModeEndsAtOnce) {
  for (const wchar_t* line :
       {L"KeltoOvrin.exe", L"KeltoOvrin.exe /setupsucc", L"KeltoOvrin.exe /ShowDeskTop"}) {
    ts::ResetSettings();
    CGlobalModule module(line);
    module.instance = GetModuleHandleW(nullptr);
    wcscpy(module.windowClassName, L"OvrinNoSuchClass");
    EXPECT_EQ(module.Run(), kExitNoWindow) << std::wstring(line).size();
    EXPECT_EQ(module.formLogin.GetHwnd(), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  }
  ts::ResetSettings();
}

// On a thread whose apartment is already multithreaded OLE cannot start: the program
// says so and ends instead of showing page windows that can never host their page.
TEST(Run, WithoutOleTheProgramEnds) {
  ts::ResetSettings();
  int code = -1;
  std::thread starter([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CGlobalModule module(L"KeltoOvrin.exe");
    code = RunProgram(module, GetModuleHandleW(nullptr));
    EXPECT_EQ(module.formBack.GetHwnd(), nullptr);
    CoUninitialize();
  });
  starter.join();
  EXPECT_EQ(code, kExitNoWindow);
  ts::ResetSettings();
}

// Set-up and uninstall as the installers run them: the real program as a process, its
// statistics host (built in) answered by a recording server on the build's fixed port.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "base/files.h"
#include "app/global_module.h"
#include "net/worker_pool.h"
#include "support/stats_server.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

DWORD RunOneShot(const std::wstring& switches) {
  DWORD exitCode = 12345;
  EXPECT_TRUE(
      ts::RunProcess(L"\"" + ts::ExeDir() + L"..\\KeltoOvrin.exe\" " + switches, 60000, &exitCode))
      << "still running: " << std::string(switches.begin(), switches.end());
  return exitCode;
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostQuitMessage(99);
}

}  // namespace

// Installers wait for this process: a beacon that cannot even be queued must not leave
// it running with no window.
TEST(OneShotRun, WithoutAWorkerPoolEndsAtOnce) {
  for (const wchar_t* line : {L"KeltoOvrin.exe /setupsucc", L"KeltoOvrin.exe /uninstallsucc"}) {
    SCOPED_TRACE(testing::Message() << line);
    ts::ResetSettings();
    CGlobalModule module(line);
    RegisterWindowClass(module, GetModuleHandleW(nullptr));
    delete module.workerPool;
    module.workerPool = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, GiveUp);
    EXPECT_EQ(module.Run(), 0);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(IsWindow(module.formLogin.GetHwnd()));
  }
  ts::ResetSettings();
}

TEST(OneShotRun, EndsWithZeroWhateverTheServiceAnswers) {
  ts::HttpServer server(ts::StatsPort());
  ASSERT_TRUE(server.Listening()) << "the statistics port " << ts::StatsPort()
                                  << " of this build is taken";
  for (int status : {200, 500}) {
    SCOPED_TRACE(status);
    ts::ScriptedResponse answer;
    answer.status = status;
    answer.body = "GIF89a";
    server.Script("/ps.gif", answer);
    ts::ResetSettings();
    WriteIniString(L"Common", L"RunCount", L"3", L"");
    const size_t before = server.Requests().size();

    EXPECT_EQ(RunOneShot(L"/setupsucc"), 0u);
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L"", L""), L"3");
    EXPECT_EQ(RunOneShot(L"/uninstallsucc"), 0u);
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L"", L""), L"4");

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), before + 2);
    EXPECT_EQ(ts::BeaconParam(requests[before], L"at"), L"2");
    EXPECT_EQ(ts::BeaconParam(requests[before + 1], L"at"), L"6");
    // The identifier made by the set-up run goes out again with the uninstall.
    const std::wstring guid = ReadIniString(L"Install", L"GUID", L"", L"");
    EXPECT_EQ(guid.size(), 32u);
    EXPECT_EQ(ts::BeaconParam(requests[before], L"e4"), guid);
    EXPECT_EQ(ts::BeaconParam(requests[before + 1], L"e4"), guid);
  }
  ts::ResetSettings();
}

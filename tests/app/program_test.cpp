// The real program, started as a process in the test prefix.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/files.h"
#include "app/open_url.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

std::wstring Program() { return ts::ExeDir() + L"..\\KeltoOvrin.exe"; }

DWORD RunProgram(const std::wstring& switches) {
  DWORD exitCode = 12345;
  EXPECT_TRUE(ts::RunProcess(L"\"" + Program() + L"\" " + switches, 30000, &exitCode))
      << "still running: " << std::string(switches.begin(), switches.end());
  return exitCode;
}

std::wstring RunCountSetting() { return ReadIniString(L"Common", L"RunCount", L"<absent>", L""); }

}  // namespace

TEST(Program, ShowDesktopRunEndsWithZeroAndCountsNothing) {
  ts::ResetSettings();
  EXPECT_EQ(RunProgram(L"/ShowDeskTop"), 0u);
  EXPECT_TRUE(ts::FileExists(GetDataFolder()));
  EXPECT_EQ(RunCountSetting(), L"<absent>");
  ts::ResetSettings();
}

TEST(Program, OneShotRunsEndWithZero) {
  ts::ResetSettings();
  WriteIniString(L"Common", L"RunCount", L"3", L"");
  EXPECT_EQ(RunProgram(L"/setupsucc"), 0u);
  EXPECT_EQ(RunCountSetting(), L"3");
  EXPECT_EQ(RunProgram(L"/uninstallsucc"), 0u);
  EXPECT_EQ(RunCountSetting(), L"4");
  ts::ResetSettings();
}

// A page chooses the addresses the client hands to the shell; only web addresses may
// leave. The control case shows the same path really would run a program.
TEST(OpenUrl, RefusesAnythingButWebAddresses) {
  const std::wstring dir = ts::FreshTempDir(L"openurl");
  const std::wstring program = dir + L"picked.exe";
  ASSERT_TRUE(CopyFileW((ts::ExeDir() + L"test_child.exe").c_str(), program.c_str(), FALSE));
  const std::wstring marker = program + L".ran";
  std::wstring fileUrl = L"file:///" + program;
  for (auto& c : fileUrl)
    if (c == L'\\') c = L'/';

  OpenUrl(program.c_str());
  OpenUrl(fileUrl.c_str());
  OpenUrl(nullptr);
  ts::PumpFor(2000);
  EXPECT_FALSE(ts::FileExists(marker));

  ShellExecuteW(nullptr, L"open", program.c_str(), nullptr, nullptr, SW_SHOW);
  EXPECT_TRUE(ts::PumpUntil([&] { return ts::FileExists(marker); }, 10000));
  ts::PumpFor(200);
  ts::RemoveTree(dir);
}

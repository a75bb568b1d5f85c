// The real program, started as a process in the test prefix.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "base/files.h"
#include "base/handles.h"
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

std::wstring AddBackslashForTest(const std::wstring& path) {
  return path.empty() || path.back() == L'\\' ? path : path + L"\\";
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

namespace {

// Leaves the user's application-data folder without a place, as a broken profile does,
// for the life of the object: the system then answers with failure and an empty path.
class MissingAppData {
 public:
  MissingAppData() {
    RegOpenKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                  m_key.Put());
    DWORD bytes = sizeof(m_saved);
    m_hadValue = RegQueryValueExW(m_key.Get(), L"AppData", nullptr, &m_type,
                                  reinterpret_cast<BYTE*>(m_saved), &bytes) == ERROR_SUCCESS;
    m_savedBytes = bytes;
    const wchar_t none[] = L"";
    RegSetValueExW(m_key.Get(), L"AppData", 0, REG_SZ, reinterpret_cast<const BYTE*>(none),
                   sizeof(none));
  }
  ~MissingAppData() {
    if (m_hadValue)
      RegSetValueExW(m_key.Get(), L"AppData", 0, m_type, reinterpret_cast<const BYTE*>(m_saved),
                     m_savedBytes);
    else
      RegDeleteValueW(m_key.Get(), L"AppData");
  }
  MissingAppData(const MissingAppData&) = delete;
  MissingAppData& operator=(const MissingAppData&) = delete;

 private:
  static constexpr wchar_t kShellFolders[] =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  CScopedRegKey m_key;
  bool m_hadValue = false;
  DWORD m_type = REG_EXPAND_SZ;
  wchar_t m_saved[MAX_PATH] = {};
  DWORD m_savedBytes = 0;
};

}  // namespace

// Without an application-data folder the program has no place of its own: it runs and
// ends as usual but writes nothing, neither beside wherever it was started nor at a
// drive root.
TEST(Program, WithoutApplicationDataNothingIsWritten) {
  wchar_t started[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, started);
  const std::wstring strays[] = {AddBackslashForTest(started) + L"Lirelo游戏", L"C:\\Lirelo游戏",
                                 L"Z:\\Lirelo游戏"};
  {
    MissingAppData broken;
    wchar_t appData[MAX_PATH] = {};
    ASSERT_FALSE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE))
        << "the system still answers";
    EXPECT_EQ(RunProgram(L"/ShowDeskTop"), 0u);
    EXPECT_EQ(RunProgram(L"/setupsucc"), 0u);
  }
  for (const std::wstring& stray : strays) {
    EXPECT_FALSE(ts::FileExists(stray)) << stray;
    ts::RemoveTree(stray + L"\\");
  }
}

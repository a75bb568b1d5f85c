#include "base/files.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "base/strings.h"
#include "support/test_support.h"

namespace ts = testing_support;

TEST(Files, DataFolderChainUnderAppData) {
  wchar_t appData[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
  const std::wstring expected = AddBackslash(appData) + L"Lirelo游戏\\qaro\\";
  EXPECT_EQ(GetDataFolder(), expected);
  EXPECT_TRUE(ts::FileExists(expected));  // the non-ASCII level was created intact
  EXPECT_TRUE(ts::FileExists(AddBackslash(appData) + L"Lirelo游戏"));
  EXPECT_EQ(GetSettingsPath(), expected + L"Ovrin.ini");
}

TEST(Files, DataFolderOnlyUnderAKnownFolder) {
  EXPECT_EQ(DataFolderUnder(L"C:\\Users\\u\\AppData\\Roaming"),
            L"C:\\Users\\u\\AppData\\Roaming\\Lirelo游戏\\qaro\\");
  EXPECT_EQ(DataFolderUnder(L"D:\\Data\\"), L"D:\\Data\\Lirelo游戏\\qaro\\");
  // No answer from the system: no folder, rather than one beside wherever we started.
  EXPECT_EQ(DataFolderUnder(L""), L"");
}

TEST(Files, UpgradeFolderIsMadeAgainOnEveryRequest) {
  const std::wstring upgrade = GetDataFolder() + L"Upgrade\\";
  ts::RemoveTree(upgrade);
  ASSERT_FALSE(ts::FileExists(upgrade));
  EXPECT_EQ(GetUpgradeFolder(), upgrade);
  EXPECT_TRUE(ts::FileExists(upgrade));
  ts::RemoveTree(upgrade);
  EXPECT_EQ(GetUpgraderPath(), upgrade + L"KeltoOvrinUpgrade.exe");
  EXPECT_TRUE(ts::FileExists(upgrade));
  EXPECT_EQ(GetLastUpgradeIniPath(), upgrade + L"LastUpgrade.ini");
}

TEST(Files, TempFolderEndsInBackslash) {
  const std::wstring temp = GetTempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
}

TEST(Files, CreateDirectoryPath) {
  const std::wstring root = ts::FreshTempDir(L"mkdir");
  EXPECT_FALSE(CreateDirectoryPath(nullptr));
  EXPECT_TRUE(CreateDirectoryPath((root + L"a\\b\\c").c_str()));
  EXPECT_TRUE(ts::FileExists(root + L"a\\b\\c"));
  EXPECT_TRUE(CreateDirectoryPath((root + L"a\\b\\c\\").c_str()));  // already there
  // A file where a folder level should be makes the call fail.
  ts::WriteFileBytes(root + L"blocker", "x");
  EXPECT_FALSE(CreateDirectoryPath((root + L"blocker\\deeper\\").c_str()));
  EXPECT_FALSE(ts::FileExists(root + L"blocker\\deeper"));
  ts::RemoveTree(root);
}

TEST(Files, IniRules) {
  const std::wstring root = ts::FreshTempDir(L"ini");
  const std::wstring file = root + L"t.ini";
  // Missing file: defaults.
  EXPECT_EQ(ReadIniString(L"S", L"K", L"dflt", file), L"dflt");
  EXPECT_EQ(ReadIniInt(L"S", L"N", 42, file), 42);
  // Writing creates file, section and key; names match in any letter case.
  WriteIniString(L"Common", L"RunCount", L"7", file);
  EXPECT_EQ(ReadIniInt(L"common", L"RUNCOUNT", 0, file), 7);
  EXPECT_EQ(ReadIniString(L"COMMON", L"runcount", L"", file), L"7");
  // A value of 300 characters comes back as its first 259.
  const std::wstring longValue(300, L'v');
  WriteIniString(L"S", L"Long", longValue, file);
  EXPECT_EQ(ReadIniString(L"S", L"Long", L"", file), std::wstring(259, L'v'));
  // Letters read as 0 through the integer reader.
  WriteIniString(L"S", L"Letters", L"abc", file);
  EXPECT_EQ(ReadIniInt(L"S", L"Letters", 5, file), 0);
  ts::RemoveTree(root);
}

TEST(Files, EmptyFileMeansTheSettingsFile) {
  ts::ResetSettings();
  WriteIniString(L"Test", L"Key", L"in settings", L"");
  EXPECT_EQ(ReadIniString(L"Test", L"Key", L"", GetSettingsPath()), L"in settings");
  WriteIniString(L"Test", L"Other", L"direct", GetSettingsPath());
  EXPECT_EQ(ReadIniString(L"Test", L"Other", L"", L""), L"direct");
  ts::ResetSettings();
}

TEST(Files, NewGuidStringShape) {
  const std::wstring a = NewGuidString();
  const std::wstring b = NewGuidString();
  ASSERT_EQ(a.size(), 36u);
  EXPECT_NE(a, b);
  for (size_t i = 0; i < a.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      EXPECT_EQ(a[i], L'-');
    } else {
      EXPECT_TRUE((a[i] >= L'0' && a[i] <= L'9') || (a[i] >= L'A' && a[i] <= L'F')) << a;
    }
  }
}

TEST(Files, AnsiConversions) {
  std::string narrow = "unchanged";
  std::wstring wide = L"unchanged";
  EXPECT_FALSE(WideToAnsi(nullptr, narrow));
  EXPECT_FALSE(AnsiToWide(nullptr, wide));
  EXPECT_EQ(narrow, "unchanged");
  EXPECT_EQ(wide, L"unchanged");
  ASSERT_TRUE(WideToAnsi(L"qaro-3000 x", narrow));
  EXPECT_EQ(narrow, "qaro-3000 x");
  ASSERT_TRUE(AnsiToWide("abc 123", wide));
  EXPECT_EQ(wide, L"abc 123");
  ASSERT_TRUE(WideToAnsi(L"", narrow));
  EXPECT_EQ(narrow, "");
}

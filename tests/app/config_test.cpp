// The configuration as each start of the program sees it: every test builds its own
// application object against the settings file it prepared.
#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

#include "base/files.h"
#include "app/global_module.h"
#include "base/strings.h"
#include "base/deploy_config.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

constexpr wchar_t kNormal[] = L"\"C:\\Games\\KeltoOvrin.exe\"";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Setting(const wchar_t* section, const wchar_t* key) {
  return ReadIniString(section, key, L"<absent>", L"");
}

class Configuration : public ::testing::Test {
 protected:
  void SetUp() override { ts::ResetSettings(); }
  void TearDown() override { ts::ResetSettings(); }
};

}  // namespace

TEST_F(Configuration, FirstRunWritesInstallTimeAndCountsRunOne) {
  const std::wstring today = FormatTime(L"%Y%m%d", std::time(nullptr));
  CGlobalModule module(kNormal);
  const std::string url = Narrow(module.GetLoginUrl());
  const std::string host = Narrow(deploy::kGameHost);
  const std::regex expected("http://" + host +
                            "/qaro/wd/index\\.html\\?referer=kelvancom&frm=qaro&version=3000"
                            "&installtime=" +
                            Narrow(today) +
                            "&runcount=1&curtime=[0-9]{14}&showlogintype=3&regtimes=1");
  EXPECT_TRUE(std::regex_match(url, expected)) << url;
  EXPECT_EQ(Setting(L"Common", L"RunCount"), L"1");
  const std::wstring installTime = Setting(L"Install", L"InstallTime");
  EXPECT_TRUE(std::regex_match(Narrow(installTime),
                               std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}")))
      << Narrow(installTime);
  EXPECT_EQ(module.GetRunCount(), 1);  // counted once per process
  EXPECT_EQ(Setting(L"Common", L"RunCount"), L"1");
}

TEST_F(Configuration, SecondRunKeepsInstallTimeAndDropsRegtimes) {
  std::wstring firstInstall;
  {
    CGlobalModule first(kNormal);
    firstInstall = Setting(L"Install", L"InstallTime");
  }
  CGlobalModule second(kNormal);
  EXPECT_TRUE(Contains(second.GetLoginUrl(), L"&runcount=2&"));
  EXPECT_FALSE(Contains(second.GetLoginUrl(), L"regtimes"));
  EXPECT_EQ(Setting(L"Install", L"InstallTime"), firstInstall);
  EXPECT_EQ(Setting(L"Common", L"RunCount"), L"2");
}

TEST_F(Configuration, SetupAndShowDesktopDoNotCountUninstallDoes) {
  WriteIniString(L"Common", L"RunCount", L"4", L"");
  {
    CGlobalModule setup(L"KeltoOvrin.exe /setupsucc");
    EXPECT_TRUE(Contains(setup.GetLoginUrl(), L"&runcount=0&"));
    EXPECT_EQ(setup.GetRunCount(), 0);
  }
  {
    CGlobalModule desktop(L"KeltoOvrin.exe /ShowDeskTop");
    EXPECT_TRUE(Contains(desktop.GetLoginUrl(), L"&runcount=0&"));
  }
  EXPECT_EQ(Setting(L"Common", L"RunCount"), L"4");
  CGlobalModule uninstall(L"KeltoOvrin.exe /uninstallsucc");
  EXPECT_EQ(uninstall.GetRunCount(), 5);
  EXPECT_EQ(Setting(L"Common", L"RunCount"), L"5");
}

TEST_F(Configuration, StoredValuesAreInsertedUnescaped) {
  WriteIniString(L"Common", L"Refer", L"a&b=c", L"");
  WriteIniString(L"Common", L"UID", L"x y", L"");
  WriteIniString(L"Install", L"InstallTime", L"2014-12-31 23:59:59", L"");
  WriteIniString(L"Common", L"RunCount", L"letters", L"");
  CGlobalModule module(kNormal);
  const std::wstring url = module.GetLoginUrl();
  EXPECT_TRUE(Contains(url, L"?referer=a&b=c&frm=x y&version=3000&installtime=20141231&"));
  // A RunCount of letters reads as 0, so this is run 1 again.
  EXPECT_TRUE(Contains(url, L"&runcount=1&"));
  EXPECT_TRUE(Contains(url, L"&regtimes=1"));
  EXPECT_EQ(Setting(L"Install", L"InstallTime"), L"2014-12-31 23:59:59");
  EXPECT_EQ(module.GetRefer(), L"a&b=c");
  EXPECT_EQ(module.GetUid(), L"x y");
}

TEST_F(Configuration, DownloadAddressesAndTopMost) {
  {
    CGlobalModule module(kNormal);
    const std::wstring download = std::wstring(L"http://") + deploy::kDownloadHost;
    EXPECT_EQ(module.versionCheckUrl, download + L"/vupo/qaro/official/app.ini");
    EXPECT_EQ(module.upgraderUrl, download + L"/vupo/qaro/official/vupoqaro.exe");
    EXPECT_EQ(module.topMost, 0);
  }
  WriteIniString(L"Common", L"VersionCheck", L"http://127.0.0.1:9/v.ini", L"");
  WriteIniString(L"Common", L"TopMost", L"2", L"");
  CGlobalModule module(kNormal);
  EXPECT_EQ(module.versionCheckUrl, L"http://127.0.0.1:9/v.ini");
  EXPECT_EQ(module.topMost, 2);
}

TEST_F(Configuration, PayUrl) {
  CGlobalModule module(kNormal);
  const std::wstring base = std::wstring(L"http://") + deploy::kGameHost;
  EXPECT_EQ(module.GetPayUrl(), base + L"/pay/?gid=1012&sid=&uid=");
  module.serverId = L"12";
  module.userName = L"p&q";
  EXPECT_EQ(module.GetPayUrl(), base + L"/pay/?gid=1012&sid=12&uid=p&q");
}

TEST_F(Configuration, ActiveCounter) {
  CGlobalModule module(kNormal);
  EXPECT_FALSE(module.IsActiveCounted());
  WriteIniString(L"Common", L"ActiveCount", L"2", L"");
  EXPECT_FALSE(module.IsActiveCounted());
  module.SetActiveCounted();
  EXPECT_TRUE(module.IsActiveCounted());
  EXPECT_EQ(Setting(L"Common", L"ActiveCount"), L"1");
}

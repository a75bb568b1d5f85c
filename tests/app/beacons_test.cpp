// The beacons as the statistics service receives them: a recording server on the build's
// statistics port, application objects built in this process with the command line and
// settings each case wants.
#include "net/statistics.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <cwctype>
#include <memory>

#include "app/entry.h"
#include "base/files.h"
#include "app/global_module.h"
#include "base/strings.h"
#include "net/machine_id.h"
#include "support/stats_server.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

constexpr wchar_t kCafeKey[] = L"SOFTWARE\\iCafe8";  // one of the cafe products' traces

ts::ScriptedResponse Image(std::string body = "GIF89a") {
  ts::ScriptedResponse response;
  response.body = std::move(body);
  return response;
}

class Beacons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new ts::HttpServer(ts::StatsPort()); }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(server->Listening())
        << "the statistics port " << ts::StatsPort() << " of this build is taken";
    server->Script("/ps.gif", Image());
    ts::ResetSettings();
    seen = server->Requests().size();
  }
  void TearDown() override {
    app.reset();
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kCafeKey);
    ts::ResetSettings();
  }

  void Start(const std::wstring& commandLine) {
    app = std::make_unique<CGlobalModule>(commandLine);
    RegisterWindowClass(*app, GetModuleHandleW(nullptr));
  }

  // The next beacon the server receives.
  ts::RecordedRequest NextBeacon() {
    EXPECT_TRUE(server->WaitForRequests(seen + 1, 10000)) << "no beacon arrived";
    const auto requests = server->Requests();
    if (requests.size() <= seen) return ts::RecordedRequest();
    return requests[seen++];
  }

  static ts::HttpServer* server;
  std::unique_ptr<CGlobalModule> app;
  size_t seen = 0;
};

ts::HttpServer* Beacons::server = nullptr;

std::wstring Today() { return FormatTime(L"%Y-%m-%d", std::time(nullptr)); }

bool IsUpperHex32(const std::wstring& text) {
  if (text.size() != 32) return false;
  for (wchar_t c : text)
    if (!std::iswdigit(c) && !(c >= L'A' && c <= L'F')) return false;
  return true;
}

}  // namespace

TEST_F(Beacons, EventTypesAndFlags) {
  enum Beacon { kInstall, kActive, kUninstall };
  const struct {
    const char* name;
    Beacon beacon;
    const wchar_t* commandLine;
    const wchar_t* installType;  // null: none in the settings file
    const wchar_t* installTime;  // null: the one configuration load writes (today)
    bool cafe;
    const wchar_t* at;
    const wchar_t* e6;
    const wchar_t* e7;  // null: must be absent
  } cases[] = {
      {"install", kInstall, L"KeltoOvrin.exe /setupsucc", nullptr, nullptr, false, L"2", L"2",
       nullptr},
      {"install type 1", kInstall, L"KeltoOvrin.exe /setupsucc", L"1", nullptr, false, L"3", L"2",
       nullptr},
      {"install type 2", kInstall, L"KeltoOvrin.exe /setupsucc", L"2", nullptr, false, L"2", L"2",
       nullptr},
      {"active by autorun", kActive, L"KeltoOvrin.exe /autorun", nullptr, nullptr, false, L"4",
       L"2", nullptr},
      {"active by the user", kActive, L"KeltoOvrin.exe", nullptr, nullptr, false, L"5", L"2",
       nullptr},
      {"uninstall on the day", kUninstall, L"KeltoOvrin.exe /uninstallsucc", nullptr, nullptr,
       false, L"6", L"2", L"1"},
      {"uninstall later", kUninstall, L"KeltoOvrin.exe /uninstallsucc", nullptr,
       L"2020-01-02 03:04:05", false, L"6", L"2", L"2"},
      {"install in a cafe", kInstall, L"KeltoOvrin.exe /setupsucc", nullptr, nullptr, true, L"2",
       L"1", nullptr},
      {"uninstall in a cafe", kUninstall, L"KeltoOvrin.exe /uninstallsucc", nullptr, nullptr, true,
       L"6", L"1", L"1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.installType != nullptr) WriteIniString(L"Install", L"InstallType", c.installType, L"");
    if (c.installTime != nullptr) WriteIniString(L"Install", L"InstallTime", c.installTime, L"");
    if (c.cafe) {
      HKEY key = nullptr;
      ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kCafeKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                &key, nullptr),
                ERROR_SUCCESS);
      RegCloseKey(key);
    }
    Start(c.commandLine);
    bool queued = false;
    if (c.beacon == kInstall) queued = app->statistics.SendInstallBeacon();
    if (c.beacon == kActive) queued = app->statistics.SendActiveBeacon();
    if (c.beacon == kUninstall) queued = app->statistics.SendUninstallBeacon();
    EXPECT_TRUE(queued);

    const ts::RecordedRequest beacon = NextBeacon();
    EXPECT_EQ(beacon.Path(), "/ps.gif");
    EXPECT_EQ(ts::BeaconParam(beacon, L"at"), c.at);
    EXPECT_EQ(ts::BeaconParam(beacon, L"e6"), c.e6);
    if (c.e7 == nullptr) {
      EXPECT_EQ(beacon.target.find("&e7="), std::string::npos);
    } else {
      EXPECT_EQ(ts::BeaconParam(beacon, L"e7"), c.e7);
    }
    const std::wstring installTime = ReadIniString(L"Install", L"InstallTime", L"", L"");
    EXPECT_EQ(ts::BeaconParam(beacon, L"e9"), installTime);
    if (c.installTime == nullptr) {
      EXPECT_EQ(installTime.substr(0, 10), Today());
    }
  }
}

// Field order, the values carried and the install identifier made on the first run.
TEST_F(Beacons, CarryTheInstallationInTheServiceOrder) {
  WriteIniString(L"Common", L"Refer", L"refx", L"");
  WriteIniString(L"Common", L"UID", L"uidy", L"");
  Start(L"KeltoOvrin.exe /setupsucc");
  ASSERT_TRUE(app->statistics.SendInstallBeacon());
  const ts::RecordedRequest beacon = NextBeacon();

  const std::wstring guid = ReadIniString(L"Install", L"GUID", L"", L"");
  EXPECT_TRUE(IsUpperHex32(guid)) << std::string(guid.begin(), guid.end());
  const std::wstring installTime = ReadIniString(L"Install", L"InstallTime", L"", L"");
  const std::wstring expected = L"/ps.gif?id=5&gid=1012&e1=kjfs&e2=refx&e3=uidy&e4=" + guid +
                                L"&e5=" + ComputeMachineId() + L"&e6=2&e8=3000&e9=" + installTime +
                                L"&at=2";
  std::wstring target(beacon.target.begin(), beacon.target.end());
  EXPECT_EQ(RemoveAll(target, L"%20"), RemoveAll(expected, L" "));
  EXPECT_NE(beacon.Header("User-Agent").find("HTTPDownloader"), std::string::npos);

  // A later run keeps the identifier it finds.
  app.reset();
  Start(L"KeltoOvrin.exe /uninstallsucc");
  ASSERT_TRUE(app->statistics.SendUninstallBeacon());
  EXPECT_EQ(ts::BeaconParam(NextBeacon(), L"e4"), guid);
  EXPECT_EQ(ReadIniString(L"Install", L"GUID", L"", L""), guid);
}

TEST_F(Beacons, OneActiveBeaconPerProcess) {
  Start(L"KeltoOvrin.exe");
  EXPECT_TRUE(app->statistics.SendActiveBeacon());
  EXPECT_FALSE(app->statistics.SendActiveBeacon());
  EXPECT_EQ(ts::BeaconParam(NextBeacon(), L"at"), L"5");
  // The install beacon still goes: only the active one is limited.
  EXPECT_TRUE(app->statistics.SendInstallBeacon());
  EXPECT_EQ(ts::BeaconParam(NextBeacon(), L"at"), L"2");
  EXPECT_EQ(server->Requests().size(), seen);
}

TEST_F(Beacons, AnswerReplacesTheEarlierFileAndAFailureRemovesIt) {
  const std::wstring file = GetTempFolder() + kInstallBeaconFile;
  server->Script("/ps.gif", std::vector<ts::ScriptedResponse>{Image("first answer"), Image("2nd")});
  Start(L"KeltoOvrin.exe /setupsucc");
  ASSERT_TRUE(app->statistics.SendInstallBeacon());
  NextBeacon();
  EXPECT_TRUE(ts::PumpUntil([&] { return ts::ReadFileBytes(file) == "first answer"; }, 5000));
  ASSERT_TRUE(app->statistics.SendInstallBeacon());
  NextBeacon();
  EXPECT_TRUE(ts::PumpUntil([&] { return ts::ReadFileBytes(file) == "2nd"; }, 5000));

  ts::ScriptedResponse missing;
  missing.status = 404;
  server->Script("/ps.gif", missing);
  ASSERT_TRUE(app->statistics.SendInstallBeacon());
  NextBeacon();
  EXPECT_TRUE(ts::PumpUntil([&] { return !ts::FileExists(file); }, 5000));
}

// Set-up and uninstall end when their beacon's download ends, however it ended.
TEST_F(Beacons, CompletionClosesTheOneShotWindow) {
  const struct {
    const char* name;
    const wchar_t* commandLine;
    int status;
  } cases[] = {
      {"install answered", L"KeltoOvrin.exe /setupsucc", 200},
      {"install refused", L"KeltoOvrin.exe /setupsucc", 404},
      {"uninstall answered", L"KeltoOvrin.exe /uninstallsucc", 200},
      {"uninstall failed", L"KeltoOvrin.exe /uninstallsucc", 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    ts::ScriptedResponse answer = Image();
    answer.status = c.status;
    server->Script("/ps.gif", answer);
    Start(c.commandLine);
    ASSERT_TRUE(app->formLogin.CreateBare(app->Environment()));
    const HWND window = app->formLogin.GetHwnd();
    const bool queued = Contains(c.commandLine, L"/setupsucc")
                            ? app->statistics.SendInstallBeacon()
                            : app->statistics.SendUninstallBeacon();
    ASSERT_TRUE(queued);
    EXPECT_TRUE(ts::PumpUntil([&] { return !IsWindow(window); }, 10000));
    NextBeacon();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {  // the WM_QUIT it posted
    }
  }
}

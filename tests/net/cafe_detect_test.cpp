#include "net/cafe_detect.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

// The trace list as the statistics side knows it, in the order it must be tried.
struct ExpectedTrace {
  bool key;
  const wchar_t* name;
  int code;
};
const ExpectedTrace kExpected[] = {
    {true, L"SOFTWARE\\Hintsoft\\PubwinClient", 0},
    {true, L"SOFTWARE\\Hintsoft\\pubwin", 0},
    {true, L"SOFTWARE\\Sicent\\wx2004Clt", 1},
    {true, L"SOFTWARE\\MpSoft\\smenu", 2},
    {true, L"SOFTWARE\\Microsoft\\jingzu", 4},
    {true, L"SOFTWARE\\iCafe8", 6},
    {true, L"SOFTWARE\\Goyoo\\i8desk", 7},
    {true, L"SOFTWARE\\Hintsoft1\\XunShanPro", 8},
    {true, L"SOFTWARE\\SyncExpertNetBar", 9},
    {true, L"SOFTWARE\\EYOOCLIENTSTATUS", 11},
    {true, L"SOFTWARE\\Richtech", 12},
    {true, L"SOFTWARE\\杭州顺网信息技术有限公司\\网维大师蝌蚪娱乐平台", 14},
    {true, L"SOFTWARE\\Sicent\\WxAdv", 15},
    {true, L"SOFTWARE\\Grabsun\\Netsense", 16},
    {false, L"娱乐中心.exe", 17},
    {false, L"网吧游戏外挂总管管理器.exe", 19},
    {false, L"QQmenu.exe", 20},
    {false, L"Txwu.exe", 20},
    {false, L"网吧游戏管理专家2006.exe", 21},
    {false, L"connetbar.exe", 22},
    {true, L"SOFTWARE\\MpSoft\\scon", 24},
    {false, L"wbc.exe", 26},
    {false, L"sunflowerTools.exe", 27},
    {true, L"SOFTWARE\\MpSoft\\VOD", 30},
    {false, L"LBSserver.exe", 31},
    {true, L"\\QvodNetBar\\install", 32},
    {false, L"TLnbLdr.exe", 33},
    {false, L"DeepinStatus.exe", 35},
    {true, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\网升游戏更新客户端", 36},
};

// What the recording tests below were asked, and which traces they report present.
std::vector<std::pair<bool, std::wstring>> g_asked;
std::set<std::wstring> g_present;
bool RecordKey(const wchar_t* path) {
  g_asked.emplace_back(true, path);
  return g_present.count(path) != 0;
}
bool RecordProcess(const wchar_t* name) {
  g_asked.emplace_back(false, name);
  return g_present.count(name) != 0;
}

// Whether a process of that name shows in a Toolhelp walk, letter case ignored: proof
// that a started child is visible before the case-sensitive test looks for it.
bool IsListedIgnoringCase(const std::wstring& name) {
  const CScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry))
    if (_wcsicmp(entry.szExeFile, name.c_str()) == 0) return true;
  return false;
}

// The small test program copied under another name and kept running until destroyed.
class CRenamedChild {
 public:
  CRenamedChild(const std::wstring& folder, const std::wstring& exeName) {
    const std::wstring path = folder + exeName;
    EXPECT_TRUE(CopyFileW((ts::ExeDir() + L"test_child.exe").c_str(), path.c_str(), FALSE));
    std::wstring commandLine = L"\"" + path + L"\" --sleep 120000";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    EXPECT_TRUE(CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info))
        << GetLastError();
    m_process.Reset(info.hProcess);
    CloseHandle(info.hThread);
    EXPECT_TRUE(ts::PumpUntil([&] { return IsListedIgnoringCase(exeName); }, 10000)) << path;
  }
  ~CRenamedChild() {
    if (!m_process) return;
    TerminateProcess(m_process.Get(), 0);
    WaitForSingleObject(m_process.Get(), 10000);
  }
  CRenamedChild(const CRenamedChild&) = delete;
  CRenamedChild& operator=(const CRenamedChild&) = delete;

 private:
  CScopedHandle m_process;
};

// Creates cafe keys under HKEY_LOCAL_MACHINE of the test prefix and deletes each
// created top level again, whatever the test's outcome.
class CafeDetectWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DetectInternetCafe(), -1) << "the prefix already carries a cafe trace";
    m_strFolder = ts::FreshTempDir(L"cafe");
  }
  void TearDown() override {
    m_children.clear();
    for (const std::wstring& top : m_created) RegDeleteTreeW(HKEY_LOCAL_MACHINE, top.c_str());
    ts::RemoveTree(m_strFolder);
  }

  // Creates the key and remembers the first level of it that did not exist before, so
  // that clean-up removes exactly what the test added.
  void CreateKey(const std::wstring& path) {
    for (size_t end = path.find(L'\\');; end = path.find(L'\\', end + 1)) {
      const std::wstring level = path.substr(0, end);
      CScopedRegKey probe;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, level.c_str(), 0, KEY_READ, probe.Put()) !=
          ERROR_SUCCESS) {
        m_created.push_back(level);
        break;
      }
      if (end == std::wstring::npos) break;
    }
    CScopedRegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.Put(), nullptr),
              ERROR_SUCCESS)
        << path;
  }

  void StartProcess(const std::wstring& exeName) {
    m_children.emplace_back(new CRenamedChild(m_strFolder, exeName));
  }

  std::wstring m_strFolder;
  std::vector<std::wstring> m_created;
  std::vector<std::unique_ptr<CRenamedChild>> m_children;
};

}  // namespace

TEST(CafeDetect, TriesEveryTraceInOrderWithinTheBound) {
  g_asked.clear();
  g_present.clear();
  EXPECT_EQ(DetectInternetCafeWith(RecordKey, RecordProcess), -1);
  ASSERT_EQ(g_asked.size(), sizeof kExpected / sizeof kExpected[0]);
  int keys = 0, walks = 0;
  for (size_t i = 0; i < g_asked.size(); ++i) {
    EXPECT_EQ(g_asked[i].first, kExpected[i].key) << i;
    EXPECT_EQ(g_asked[i].second, kExpected[i].name) << i;
    (g_asked[i].first ? keys : walks)++;
  }
  EXPECT_LE(keys, 19);
  EXPECT_LE(walks, 11);
}

TEST(CafeDetect, FirstTraceThatHoldsGivesItsCode) {
  for (const ExpectedTrace& trace : kExpected) {
    g_present = {trace.name};
    EXPECT_EQ(DetectInternetCafeWith(RecordKey, RecordProcess), trace.code) << trace.name;
  }
  g_present.clear();
}

TEST_F(CafeDetectWine, EarliestKeyWins) {
  CreateKey(L"SOFTWARE\\iCafe8");
  EXPECT_EQ(DetectInternetCafe(), 6);
  CreateKey(L"SOFTWARE\\Hintsoft\\pubwin");
  EXPECT_EQ(DetectInternetCafe(), 0);  // code 0 counts as a cafe
  EXPECT_TRUE(IsRegistryKeyPresent(L"SOFTWARE\\Hintsoft\\pubwin"));
  EXPECT_FALSE(IsRegistryKeyPresent(L"SOFTWARE\\Hintsoft\\PubwinClient"));
}

TEST_F(CafeDetectWine, KeysWithChineseNames) {
  CreateKey(L"SOFTWARE\\杭州顺网信息技术有限公司\\网维大师蝌蚪娱乐平台");
  EXPECT_EQ(DetectInternetCafe(), 14);
}

TEST_F(CafeDetectWine, TracesWrittenWithALeadingBackslashAreFound) {
  // The registry refuses a relative path that starts with a backslash; the detection
  // skips it, so these two traces are recognised where their keys exist.
  CreateKey(L"QvodNetBar\\install");
  EXPECT_TRUE(IsRegistryKeyPresent(L"\\QvodNetBar\\install"));
  EXPECT_EQ(DetectInternetCafe(), 32);
}

TEST_F(CafeDetectWine, LastTraceWithALeadingBackslash) {
  CreateKey(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\网升游戏更新客户端");
  EXPECT_EQ(DetectInternetCafe(), 36);
}

TEST_F(CafeDetectWine, RunningProcessByExactName) {
  StartProcess(L"qqmenu.exe");
  EXPECT_FALSE(IsProcessRunning(L"QQmenu.exe"));
  EXPECT_EQ(DetectInternetCafe(), -1);
  StartProcess(L"Txwu.exe");  // the second name of its row
  EXPECT_EQ(DetectInternetCafe(), 20);
  StartProcess(L"娱乐中心.exe");
  EXPECT_EQ(DetectInternetCafe(), 17);
}

TEST_F(CafeDetectWine, ProcessRowBeforeALaterKeyRow) {
  CreateKey(L"SOFTWARE\\MpSoft\\scon");
  EXPECT_EQ(DetectInternetCafe(), 24);
  StartProcess(L"connetbar.exe");
  EXPECT_EQ(DetectInternetCafe(), 22);
}

TEST(CafeDetectInput, NullCountsAsAbsent) {
  EXPECT_FALSE(IsRegistryKeyPresent(nullptr));
  EXPECT_FALSE(IsProcessRunning(nullptr));
}

#include "net/cafe_detect.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>

#include "base/handles.h"

#if !defined(_WIN64)
static_assert(sizeof(PROCESSENTRY32W) == 556, "Toolhelp entry of the 32-bit product");
#endif

namespace {

enum class K { Key, Process };

// One row of the trace list. A row holds when its first trace or, when given, its second
// one does; the first is tested first.
struct CafeTrace {
  K kind;
  const wchar_t* first;
  const wchar_t* second;  // null for a row with one trace
  int code;
};

// The codes are fixed by what the statistics side expects; numbers missing from the list
// are never produced.
const CafeTrace kTraces[] = {
    {K::Key, L"SOFTWARE\\Hintsoft\\PubwinClient", nullptr, 0},
    {K::Key, L"SOFTWARE\\Hintsoft\\pubwin", nullptr, 0},
    {K::Key, L"SOFTWARE\\Sicent\\wx2004Clt", nullptr, 1},
    {K::Key, L"SOFTWARE\\MpSoft\\smenu", nullptr, 2},
    {K::Key, L"SOFTWARE\\Microsoft\\jingzu", nullptr, 4},
    {K::Key, L"SOFTWARE\\iCafe8", nullptr, 6},
    {K::Key, L"SOFTWARE\\Goyoo\\i8desk", nullptr, 7},
    {K::Key, L"SOFTWARE\\Hintsoft1\\XunShanPro", nullptr, 8},
    {K::Key, L"SOFTWARE\\SyncExpertNetBar", nullptr, 9},
    {K::Key, L"SOFTWARE\\EYOOCLIENTSTATUS", nullptr, 11},
    {K::Key, L"SOFTWARE\\Richtech", nullptr, 12},
    {K::Key, L"SOFTWARE\\杭州顺网信息技术有限公司\\网维大师蝌蚪娱乐平台", nullptr, 14},
    {K::Key, L"SOFTWARE\\Sicent\\WxAdv", nullptr, 15},
    {K::Key, L"SOFTWARE\\Grabsun\\Netsense", nullptr, 16},
    {K::Process, L"娱乐中心.exe", nullptr, 17},
    {K::Process, L"网吧游戏外挂总管管理器.exe", nullptr, 19},
    {K::Process, L"QQmenu.exe", L"Txwu.exe", 20},
    {K::Process, L"网吧游戏管理专家2006.exe", nullptr, 21},
    {K::Process, L"connetbar.exe", nullptr, 22},
    {K::Key, L"SOFTWARE\\MpSoft\\scon", nullptr, 24},
    {K::Process, L"wbc.exe", nullptr, 26},
    {K::Process, L"sunflowerTools.exe", nullptr, 27},
    {K::Key, L"SOFTWARE\\MpSoft\\VOD", nullptr, 30},
    {K::Process, L"LBSserver.exe", nullptr, 31},
    {K::Key, L"\\QvodNetBar\\install", nullptr, 32},
    {K::Process, L"TLnbLdr.exe", nullptr, 33},
    {K::Process, L"DeepinStatus.exe", nullptr, 35},
    {K::Key, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\网升游戏更新客户端",
     nullptr, 36},
};

}  // namespace

int DetectInternetCafeWith(bool (*isKeyPresent)(const wchar_t* path),
                           bool (*isProcessRunning)(const wchar_t* exeName)) {
  for (const CafeTrace& trace : kTraces) {
    const auto holds = trace.kind == K::Key ? isKeyPresent : isProcessRunning;
    if (holds(trace.first) || (trace.second != nullptr && holds(trace.second))) return trace.code;
  }
  return -1;
}

int DetectInternetCafe() { return DetectInternetCafeWith(IsRegistryKeyPresent, IsProcessRunning); }

bool IsRegistryKeyPresent(const wchar_t* path) {
  if (path == nullptr) return false;
  while (*path == L'\\') ++path;
  CScopedRegKey key;
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS;
}

bool IsProcessRunning(const wchar_t* exeName) {
  if (exeName == nullptr) return false;
  const CScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (std::wcscmp(entry.szExeFile, exeName) == 0) return true;
  }
  return false;
}

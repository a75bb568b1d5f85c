#include "base/files.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "base/strings.h"

namespace {

std::wstring ComputeDataFolder() {
  wchar_t appData[MAX_PATH] = {};
  // Without the application-data folder there is no place of ours: an empty answer here
  // would make the folder relative to wherever the program happened to start.
  if (!SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE)) return L"";
  std::wstring folder = DataFolderUnder(appData);
  if (!folder.empty()) CreateDirectoryPath(folder.c_str());
  return folder;
}

std::wstring ComputeTempFolder() {
  wchar_t buffer[260] = {};
  GetTempPathW(260, buffer);
  return buffer;
}

// The file a profile call works on; null when the settings file is meant and there is
// no data folder, so that nothing is read from or written to a file of the system's.
const wchar_t* FileArgument(const std::wstring& file, std::wstring& settings) {
  if (!file.empty()) return file.c_str();
  settings = GetSettingsPath();
  return settings.empty() ? nullptr : settings.c_str();
}

bool ExistsOrCreate(const std::wstring& path) {
  return PathFileExistsW(path.c_str()) || CreateDirectoryW(path.c_str(), nullptr);
}

}  // namespace

std::wstring DataFolderUnder(const std::wstring& appData) {
  if (appData.empty()) return L"";
  return AddBackslash(appData) + L"Lirelo游戏\\" + L"qaro" + L"\\";
}

std::wstring GetDataFolder() {
  // A function-local static: computed once, thread-safe, and the first caller is the
  // configuration load on the main thread.
  static const std::wstring folder = ComputeDataFolder();
  return folder;
}

namespace {

// folder + name, or empty when there is no folder.
std::wstring Inside(const std::wstring& folder, const wchar_t* name) {
  return folder.empty() ? std::wstring() : folder + name;
}

}  // namespace

std::wstring GetUpgradeFolder() {
  const std::wstring folder = Inside(GetDataFolder(), L"Upgrade\\");
  if (!folder.empty()) CreateDirectoryPath(folder.c_str());
  return folder;
}

std::wstring GetSettingsPath() { return Inside(GetDataFolder(), L"Ovrin.ini"); }
std::wstring GetLastUpgradeIniPath() { return Inside(GetUpgradeFolder(), L"LastUpgrade.ini"); }
std::wstring GetUpgraderPath() { return Inside(GetUpgradeFolder(), L"KeltoOvrinUpgrade.exe"); }

std::wstring GetTempFolder() {
  static const std::wstring folder = ComputeTempFolder();
  return folder;
}

bool CreateDirectoryPath(const wchar_t* path) {
  if (path == nullptr) return false;
  const std::wstring whole = path;
  if (whole.find(L'\\') == std::wstring::npos) return ExistsOrCreate(whole);
  for (size_t slash = whole.find(L'\\'); slash != std::wstring::npos;
       slash = whole.find(L'\\', slash + 1)) {
    const std::wstring prefix = whole.substr(0, slash + 1);
    if (!PathFileExistsW(prefix.c_str()) && !CreateDirectoryW(prefix.c_str(), nullptr))
      return false;
  }
  return ExistsOrCreate(whole);
}

std::wstring ReadIniString(std::wstring section, std::wstring key, std::wstring defaultValue,
                           std::wstring file) {
  std::wstring settings;
  const wchar_t* path = FileArgument(file, settings);
  wchar_t buffer[260] = {};
  if (path == nullptr) {
    defaultValue.copy(buffer, 259);
    return buffer;
  }
  GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, 260, path);
  return buffer;
}

int ReadIniInt(std::wstring section, std::wstring key, int defaultValue, std::wstring file) {
  std::wstring settings;
  const wchar_t* path = FileArgument(file, settings);
  if (path == nullptr) return defaultValue;
  return static_cast<int>(GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, path));
}

void WriteIniString(std::wstring section, std::wstring key, std::wstring value, std::wstring file) {
  std::wstring settings;
  const wchar_t* path = FileArgument(file, settings);
  if (path != nullptr)
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path);
}

std::wstring NewGuidString() {
  static std::mutex lock;
  static std::wstring previous;
  GUID guid;
  std::lock_guard<std::mutex> hold(lock);
  if (FAILED(CoCreateGuid(&guid))) return previous;
  wchar_t text[40] = {};
  swprintf(text, 40, L"%.8lX-%.4X-%.4X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X%.2X",
           static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
           guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
           guid.Data4[7]);
  previous = text;
  return previous;
}

bool WideToAnsi(const wchar_t* text, std::string& out) {
  if (text == nullptr) return false;
  const int size =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
  std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 0) + 1, '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, buffer.data(), size, nullptr,
                      nullptr);
  out = buffer.data();
  return true;
}

bool AnsiToWide(const char* text, std::wstring& out) {
  if (text == nullptr) return false;
  const int count = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, nullptr, 0);
  std::vector<wchar_t> buffer(static_cast<size_t>(count > 0 ? count : 0) + 2, L'\0');
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, buffer.data(), count);
  out = buffer.data();
  return true;
}

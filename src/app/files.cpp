#include "app/files.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "app/strings.h"

namespace {

std::wstring ComputeDataFolder() {
  wchar_t appData[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
  std::wstring folder = AddBackslash(appData) + L"Lirelo游戏\\" + L"qaro" + L"\\";
  CreateDirectoryPath(folder.c_str());
  return folder;
}

std::wstring ComputeTempFolder() {
  wchar_t buffer[260] = {};
  GetTempPathW(260, buffer);
  return buffer;
}

const wchar_t* FileArgument(const std::wstring& file, std::wstring& settings) {
  if (!file.empty()) return file.c_str();
  settings = GetSettingsPath();
  return settings.c_str();
}

bool ExistsOrCreate(const std::wstring& path) {
  return PathFileExistsW(path.c_str()) || CreateDirectoryW(path.c_str(), nullptr);
}

}  // namespace

std::wstring GetDataFolder() {
  // A function-local static: computed once, thread-safe, and the first caller is the
  // configuration load on the main thread.
  static const std::wstring folder = ComputeDataFolder();
  return folder;
}

std::wstring GetUpgradeFolder() {
  std::wstring folder = GetDataFolder() + L"Upgrade\\";
  CreateDirectoryPath(folder.c_str());
  return folder;
}

std::wstring GetSettingsPath() { return GetDataFolder() + L"Ovrin.ini"; }
std::wstring GetLastUpgradeIniPath() { return GetUpgradeFolder() + L"LastUpgrade.ini"; }
std::wstring GetUpgraderPath() { return GetUpgradeFolder() + L"KeltoOvrinUpgrade.exe"; }

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
  wchar_t buffer[260] = {};
  GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, 260,
                           FileArgument(file, settings));
  return buffer;
}

int ReadIniInt(std::wstring section, std::wstring key, int defaultValue, std::wstring file) {
  std::wstring settings;
  return static_cast<int>(GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue,
                                                FileArgument(file, settings)));
}

void WriteIniString(std::wstring section, std::wstring key, std::wstring value,
                    std::wstring file) {
  std::wstring settings;
  WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                             FileArgument(file, settings));
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
           guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
           guid.Data4[6], guid.Data4[7]);
  previous = text;
  return previous;
}

bool WideToAnsi(const wchar_t* text, std::string& out) {
  if (text == nullptr) return false;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0,
                                       nullptr, nullptr);
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

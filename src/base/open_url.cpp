#include "base/open_url.h"

#include <windows.h>
#include <shellapi.h>

#include "base/strings.h"

namespace {

void LaunchWithShell(const wchar_t* url) {
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"iexplore", url, nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(result) <= 32)
    ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOW);
}

UrlLauncher g_launcher = &LaunchWithShell;

}  // namespace

void OpenUrl(const wchar_t* url) {
  if (url == nullptr || !IsWebAddress(url)) return;
  g_launcher(url);
}

UrlLauncher SetUrlLauncher(UrlLauncher launcher) {
  const UrlLauncher previous = g_launcher;
  g_launcher = launcher != nullptr ? launcher : &LaunchWithShell;
  return previous;
}

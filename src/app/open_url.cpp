#include "app/open_url.h"

#include <windows.h>
#include <shellapi.h>

#include "app/strings.h"

void OpenUrl(const wchar_t* url) {
  if (url == nullptr || !IsWebAddress(url)) return;
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"iexplore", url, nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(result) <= 32)
    ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOW);
}

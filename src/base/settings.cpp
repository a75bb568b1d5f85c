#include "base/settings.h"

#include <ctime>

#include "base/files.h"
#include "base/strings.h"

namespace settings {

std::wstring ReadOrRecordInstallTime() {
  std::wstring installTime = ReadIniString(kInstall, kInstallTime, L"", L"");
  if (installTime.empty()) {
    installTime = FormatTime(L"%Y-%m-%d %H:%M:%S", std::time(nullptr));
    WriteIniString(kInstall, kInstallTime, installTime, L"");
  }
  return installTime;
}

}  // namespace settings

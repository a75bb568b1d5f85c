// The settings file's keys and the login address built from them.
#include <cstdarg>
#include <ctime>
#include <vector>

#include "app/global_module.h"
#include "base/deploy_config.h"
#include "base/files.h"
#include "base/settings.h"
#include "base/strings.h"
#include "base/version.h"
#include "web/site.h"

namespace {

// mingw-w64 formats in the C99 manner: "%ls" is a wide string, "%s" a narrow one.
std::wstring Format(const wchar_t* format, size_t room, ...) {
  std::vector<wchar_t> buffer(room + 1);
  va_list args;
  va_start(args, room);
  vswprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  return buffer.data();
}

std::wstring DownloadUrl(const wchar_t* path) {
  return std::wstring(L"http://") + deploy::kDownloadHost + path;
}

}  // namespace

void CGlobalModule::LoadConfiguration() {
  runCount = 0;
  loginUrl = site::LoginPageUrl();
  using namespace settings;
  versionCheckUrl =
      ReadIniString(kCommon, kVersionCheck, DownloadUrl(L"/vupo/qaro/official/app.ini"), L"");
  upgraderUrl = ReadIniString(kCommon, kVersionDownload,
                              DownloadUrl(L"/vupo/qaro/official/vupoqaro.exe"), L"");
  referTag = ReadIniString(kCommon, kRefer, L"kelvancom", L"");
  uid = ReadIniString(kCommon, kUid, L"qaro", L"");
  topMost = ReadIniInt(kCommon, kTopMost, 0, L"");

  const std::wstring installTime = ReadOrRecordInstallTime();
  const std::wstring installDate = RemoveAll(installTime.substr(0, 10), L"-");
  const std::wstring now = FormatTime(L"%Y%m%d%H%M%S", std::time(nullptr));

  std::wstring query = Format(
      L"referer=%ls&frm=%ls&version=%d&installtime=%ls&runcount=%d&curtime=%ls&showlogintype=3",
      referTag.size() + uid.size() + installDate.size() + now.size() + 128, referTag.c_str(),
      uid.c_str(), kClientVersion, installDate.c_str(), GetRunCount(), now.c_str());
  if (GetRunCount() == 1) query += L"&regtimes=1";
  loginUrl += (loginUrl.find(L'?') == std::wstring::npos ? L"?" : L"&") + query;
}

int CGlobalModule::GetRunCount() {
  if (runCount != 0) return runCount;
  if (Contains(m_commandLine, kSetupSwitch) || Contains(m_commandLine, kShowDesktopSwitch))
    return 0;
  runCount = ReadIniInt(settings::kCommon, settings::kRunCount, 0, L"") + 1;
  WriteIniString(settings::kCommon, settings::kRunCount, std::to_wstring(runCount), L"");
  return runCount;
}

bool CGlobalModule::IsActiveCounted() {
  return ReadIniInt(settings::kCommon, settings::kActiveCount, 0, L"") == 1;
}

void CGlobalModule::SetActiveCounted() {
  WriteIniString(settings::kCommon, settings::kActiveCount, L"1", L"");
}

std::wstring CGlobalModule::GetPayUrl() const { return site::PayUrl(serverId, userName); }

#include "web/site.h"

#include <cwchar>
#include <vector>

#include "base/version.h"
#include "base/deploy_config.h"

namespace site {

std::wstring GameSiteUrl(const wchar_t* path) {
  return std::wstring(L"http://") + deploy::kGameHost + path;
}

std::wstring LoginPageUrl() { return GameSiteUrl(kLoginPath); }
std::wstring HomePageUrl() { return GameSiteUrl(kHomePath); }

std::wstring ServiceUrl() { return std::wstring(L"http://") + deploy::kServiceHost + kServicePath; }

std::wstring ServerListMarker() { return std::wstring(deploy::kGameHost) + kServerListPath; }

std::wstring PayUrl(const std::wstring& serverId, const std::wstring& userName) {
  const std::wstring path = std::wstring(kPayPathFormat);
  std::vector<wchar_t> buffer(path.size() + serverId.size() + userName.size() + 32);
  swprintf(buffer.data(), buffer.size(), path.c_str(), kGameId, serverId.c_str(), userName.c_str());
  return GameSiteUrl(buffer.data());
}

}  // namespace site

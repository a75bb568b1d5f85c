#include "support/stats_server.h"

#include "base/strings.h"
#include "base/deploy_config.h"

namespace testing_support {

unsigned short StatsPort() {
  const std::wstring host = deploy::kStatsHost;
  const size_t colon = host.rfind(L':');
  if (colon == std::wstring::npos) return 0;
  return static_cast<unsigned short>(ParseInt(host.substr(colon + 1)));
}

std::wstring BeaconParam(const RecordedRequest& request, const std::wstring& key) {
  std::wstring target(request.target.begin(), request.target.end());
  for (size_t at = target.find(L"%20"); at != std::wstring::npos; at = target.find(L"%20", at))
    target.replace(at, 3, L" ");
  // "&key=" so that e1 does not also match inside another key's name.
  const size_t query = target.find(L'?');
  if (query == std::wstring::npos) return L"<no query>";
  return GetUrlParam(L"&" + target.substr(query + 1), L"&" + key);
}

}  // namespace testing_support

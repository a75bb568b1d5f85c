#include "app/upgrade_rules.h"

#include <vector>

#include "base/strings.h"
#include "base/version.h"

namespace {

int VersionNumber(const std::wstring& dotted) { return ParseInt(RemoveAll(dotted, L".")); }

bool ItemAllows(const std::wstring& item) {
  if (!Contains(item, L"-")) return ParseInt(item) == kClientVersion;
  const std::vector<std::wstring> ends = SplitString(item, L'-');
  if (ends.size() != 2) return false;
  return ParseInt(ends[0]) <= kClientVersion && ParseInt(ends[1]) >= kClientVersion;
}

}  // namespace

bool IsVersionInRange(const std::wstring& range) {
  if (range.empty()) return true;
  for (const std::wstring& item : SplitString(range, L','))
    if (ItemAllows(item)) return true;
  return false;
}

bool ShouldOfferUpgrade(const std::wstring& currentVersion, const std::wstring& upgradeRange,
                        const std::wstring& lastUpgradeVersion) {
  const int current = VersionNumber(currentVersion);
  if (current == 0) return false;
  const int last = VersionNumber(lastUpgradeVersion);
  return current > kClientVersion && last < current && IsVersionInRange(upgradeRange);
}

std::wstring UpgradeOfferText(const std::wstring& version) {
  return L"检测到最新版本[" + version + L"]，确认更新！";
}

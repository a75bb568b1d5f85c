// The rules of the upgrade check: which installed versions a version file lets upgrade,
// and whether its version is worth offering. Pure functions, safe on any thread.
#pragma once

#include <string>

// The version file and the record of the last hand-over.
inline constexpr wchar_t kVersionSection[] = L"version";
inline constexpr wchar_t kCurrentVersionKey[] = L"currentversion";
inline constexpr wchar_t kUpgradeRangeKey[] = L"upgraderange";
inline constexpr wchar_t kLastUpgradeKey[] = L"lastUpgradeVer";

// The offer shown before the upgrader is fetched.
inline constexpr wchar_t kUpgradeCaption[] = L"升级提醒";

// Whether this client (version 3000) lies in range: empty allows everything; otherwise
// comma-separated items, each a single version or "low-high" with both ends included.
// An item with more than one "-" is skipped; text that is no number reads as 0.
bool IsVersionInRange(const std::wstring& range);

// Whether to offer the version file's currentVersion, given its upgradeRange and the
// version last handed to the upgrader (empty when none). Versions are compared as
// integers with the dots removed; a current version that reads as 0 is never offered.
bool ShouldOfferUpgrade(const std::wstring& currentVersion, const std::wstring& upgradeRange,
                        const std::wstring& lastUpgradeVersion);

// "检测到最新版本[<version>]，确认更新！"
std::wstring UpgradeOfferText(const std::wstring& version);

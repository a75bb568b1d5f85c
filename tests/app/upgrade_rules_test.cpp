#include "app/upgrade_rules.h"

#include <gtest/gtest.h>

TEST(UpgradeRules, VersionRange) {
  const struct {
    const wchar_t* range;
    bool allows;
  } cases[] = {
      {L"", true},
      {L"3000", true},
      {L"2000-3000", true},
      {L"3000-3000", true},
      {L"1000,3000", true},
      {L"1000,2000-2999,2999-4000", true},
      {L"2000-2999", false},
      {L"3001-4000", false},
      {L"2999", false},
      {L"1000-2000-3000", false},      // three pieces: skipped
      {L"1000-2000-3000,3000", true},  // a skipped item does not end the search
      {L"abc", false},                 // letters read as 0
      {L"abc-3000", true},             // 0 <= 3000 <= 3000
      {L"3000-abc", false},
      {L" 3000", true},  // blanks before a number are skipped
      {L",", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsVersionInRange(c.range), c.allows) << c.range;
}

TEST(UpgradeRules, Decision) {
  const struct {
    const wchar_t* current;
    const wchar_t* range;
    const wchar_t* last;
    bool offer;
  } cases[] = {
      {L"3.0.0.0", L"", L"", false},         // the running version
      {L"3.0.0.1", L"", L"", true},          // no record, no range
      {L"3.0.0.1", L"", L"3.0.0.1", false},  // already handed over
      {L"3.0.0.2", L"", L"3.0.0.1", true},
      {L"3.0.0.1", L"", L"3.0.0.9", false},  // the record is newer
      {L"3.0.0.1", L"2000-2999", L"", false},
      {L"3.0.0.1", L"2000-3000", L"", true},
      {L"3.0.0.1", L"3000", L"", true},
      {L"3.0.0.1", L"1000,3000", L"", true},
      {L"3.0.0.1", L"1000-2000-3000", L"", false},
      {L"2.9.9.9", L"", L"", false},
      {L"v3.0.0.1", L"", L"", false},  // starts with a letter: reads as 0
      {L"", L"", L"", false},          // missing version file key
      {L"3.0.1", L"", L"", false},     // 301 < 3000: the dots are only removed
      {L"30.0.0.1", L"", L"3.0.0.1", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShouldOfferUpgrade(c.current, c.range, c.last), c.offer)
        << c.current << " range " << c.range << " last " << c.last;
}

TEST(UpgradeRules, OfferTextCarriesTheVersionAsWritten) {
  EXPECT_EQ(UpgradeOfferText(L"3.0.0.1"), L"检测到最新版本[3.0.0.1]，确认更新！");
}

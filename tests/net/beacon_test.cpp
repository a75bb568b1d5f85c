#include "net/beacon.h"

#include <gtest/gtest.h>

namespace {

BeaconFields Sample(bool cafe) {
  BeaconFields f;
  f.tag = L"kjfs";
  f.refer = L"kelvancom";
  f.uid = L"qaro";
  f.installId = L"0123456789ABCDEF0123456789ABCDEF";
  f.machineId = L"00112233445566778899aabbccddeeff";
  f.internetCafe = cafe;
  f.installTime = L"2026-12-11 09:30:00";
  return f;
}

const wchar_t kCommon[] =
    L"http://127.0.0.1:9/ps.gif?id=5&gid=1012&e1=kjfs&e2=kelvancom&e3=qaro"
    L"&e4=0123456789ABCDEF0123456789ABCDEF&e5=00112233445566778899aabbccddeeff";

}  // namespace

TEST(BeaconUrl, FieldsInTheServiceOrderUnescaped) {
  const std::wstring common = kCommon;
  const struct {
    bool cafe;
    int at;
    std::wstring url;
  } cases[] = {
      {false, kAtInstall, common + L"&e6=2&e8=3000&e9=2026-12-11 09:30:00&at=2"},
      {true, kAtInstallTypeOne, common + L"&e6=1&e8=3000&e9=2026-12-11 09:30:00&at=3"},
      {false, kAtActiveAutorun, common + L"&e6=2&e8=3000&e9=2026-12-11 09:30:00&at=4"},
      {true, kAtActive, common + L"&e6=1&e8=3000&e9=2026-12-11 09:30:00&at=5"},
  };
  for (const auto& c : cases) EXPECT_EQ(BeaconUrl(L"127.0.0.1:9", Sample(c.cafe), c.at), c.url);
}

TEST(BeaconUrl, UninstallTellsAnInstallOfToday) {
  const std::wstring common = kCommon;
  const struct {
    const wchar_t* today;
    const wchar_t* e7;
  } cases[] = {
      {L"2026-12-11", L"1"},
      {L"2026-12-12", L"2"},
      {L"", L"2"},  // no date to compare: not the install day
  };
  for (const auto& c : cases)
    EXPECT_EQ(UninstallBeaconUrl(L"127.0.0.1:9", Sample(false), c.today),
              common + L"&e6=2&e7=" + c.e7 + L"&e8=3000&e9=2026-12-11 09:30:00&at=6")
        << c.today;
}

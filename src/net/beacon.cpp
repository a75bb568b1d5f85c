#include "net/beacon.h"

#include "base/strings.h"
#include "base/version.h"

namespace {

// Field for field the service's templates:
//   /ps.gif?id=5&gid=%s&e1=%s&e2=%s&e3=%s&e4=%s&e5=%s&e6=%d[&e7=%d]&e8=%d&e9=%s&at=%d
std::wstring Query(const BeaconFields& f, const std::wstring& e7, int at) {
  std::wstring q = L"/ps.gif?id=5&gid=";
  q += kGameId;
  q += L"&e1=" + f.tag + L"&e2=" + f.refer + L"&e3=" + f.uid + L"&e4=" + f.installId + L"&e5=" +
       f.machineId + L"&e6=" + (f.internetCafe ? L"1" : L"2");
  if (!e7.empty()) q += L"&e7=" + e7;
  q += L"&e8=" + std::to_wstring(kClientVersion) + L"&e9=" + f.installTime + L"&at=" +
       std::to_wstring(at);
  return q;
}

}  // namespace

std::wstring BeaconUrl(const std::wstring& host, const BeaconFields& fields, int at) {
  return L"http://" + host + Query(fields, std::wstring(), at);
}

std::wstring UninstallBeaconUrl(const std::wstring& host, const BeaconFields& fields,
                                const std::wstring& today) {
  const bool installedToday = !today.empty() && Contains(fields.installTime, today);
  return L"http://" + host + Query(fields, installedToday ? L"1" : L"2", kAtUninstall);
}

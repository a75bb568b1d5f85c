// The statistics service's beacon addresses. Pure functions over the gathered values:
// they insert every value as it is, without URL escaping, which the service expects
// (the install time, for one, carries its space and colons into the query).
#pragma once

#include <string>

// Event types of the "at" parameter.
inline constexpr int kAtInstall = 2;
inline constexpr int kAtInstallTypeOne = 3;  // the installer wrote InstallType=1
inline constexpr int kAtActiveAutorun = 4;   // started from the Run entry
inline constexpr int kAtActive = 5;
inline constexpr int kAtUninstall = 6;

// What every beacon carries besides its event type.
struct BeaconFields {
  std::wstring tag;           // e1
  std::wstring refer;         // e2, the configuration's referrer tag
  std::wstring uid;           // e3, the configuration's user tag
  std::wstring installId;     // e4
  std::wstring machineId;     // e5
  bool internetCafe = false;  // e6: 1 on a cafe computer, else 2
  std::wstring installTime;   // e9
};

// "http://" + host + the install/active query, with at as given.
std::wstring BeaconUrl(const std::wstring& host, const BeaconFields& fields, int at);
// The uninstall form: e7 = 1 when the install time contains today ("%Y-%m-%d"), else 2;
// at = 6.
std::wstring UninstallBeaconUrl(const std::wstring& host, const BeaconFields& fields,
                                const std::wstring& today);

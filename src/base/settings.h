// The settings file Ovrin.ini: its sections and keys, named once for every layer that
// reads or writes them, and the one place the install time is first recorded.
#pragma once

#include <string>

namespace settings {

inline constexpr wchar_t kCommon[] = L"Common";
inline constexpr wchar_t kVersionCheck[] = L"VersionCheck";        // text: version file
inline constexpr wchar_t kVersionDownload[] = L"VersionDownLoad";  // text: the upgrader
inline constexpr wchar_t kRefer[] = L"Refer";
inline constexpr wchar_t kUid[] = L"UID";
inline constexpr wchar_t kTopMost[] = L"TopMost";          // integer; 1 = topmost windows
inline constexpr wchar_t kRunCount[] = L"RunCount";        // integer, written as decimal
inline constexpr wchar_t kActiveCount[] = L"ActiveCount";  // integer; 1 once activated

inline constexpr wchar_t kInstall[] = L"Install";
inline constexpr wchar_t kInstallTime[] = L"InstallTime";  // "%Y-%m-%d %H:%M:%S", local
inline constexpr wchar_t kGuid[] = L"GUID";
inline constexpr wchar_t kInstallType[] = L"InstallType";

inline constexpr wchar_t kError[] = L"Error";
inline constexpr wchar_t kErrorUrl[] = L"ErrorUrl";  // the login page that failed to load

// The install time as stored. When none is stored yet (the first run), the current local
// time is formatted, written back and returned; a failed write is not noticed, so the
// next run records its own time again.
std::wstring ReadOrRecordInstallTime();

}  // namespace settings

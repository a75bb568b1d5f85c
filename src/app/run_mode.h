// The run mode is fixed by switches found anywhere in the full command line.
#pragma once

#include <string>

inline constexpr wchar_t kSetupSwitch[] = L"/setupsucc";
inline constexpr wchar_t kUninstallSwitch[] = L"/uninstallsucc";
inline constexpr wchar_t kShowDesktopSwitch[] = L"/ShowDeskTop";
inline constexpr wchar_t kAutorunSwitch[] = L"/autorun";

enum class RunMode { Setup, Uninstall, ShowDesktop, Normal };

// Case-sensitive substring searches over the whole line, the program's path included,
// in the order set-up, uninstall, show desktop; the first one present wins.
RunMode RunModeFromCommandLine(const std::wstring& commandLine);

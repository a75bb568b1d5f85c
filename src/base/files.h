// The client's places on disk, the profile (INI) helpers and text conversions.
// Callable from any thread; the two cached folders are computed once per process.
#pragma once

#include <string>

// Roaming application data + "Lirelo游戏\qaro\", with a trailing backslash. The chain is
// created on the first request; the path is returned even when creation failed. Empty
// when the system cannot say where application data goes: then every path below is empty
// too, settings read as their defaults and nothing is written.
std::wstring GetDataFolder();
// The data folder under the application-data folder appData; empty for an empty appData.
std::wstring DataFolderUnder(const std::wstring& appData);
// Data folder + "Upgrade\", created again on every request.
std::wstring GetUpgradeFolder();
std::wstring GetSettingsPath();        // data folder + "Ovrin.ini"
std::wstring GetLastUpgradeIniPath();  // upgrade folder + "LastUpgrade.ini"
std::wstring GetUpgraderPath();        // upgrade folder + "KeltoOvrinUpgrade.exe"
// GetTempPathW's answer (it ends in a backslash), computed once.
std::wstring GetTempFolder();

// Creates every missing level of path, left to right. False for a null path or when a
// level cannot be made (the levels made so far stay).
bool CreateDirectoryPath(const wchar_t* path);

// Profile access; an empty file means the settings file (with no data folder: reads give
// the default, writes do nothing). Values longer than 259
// characters come back cut, as the profile API fills a 260-character buffer.
std::wstring ReadIniString(std::wstring section, std::wstring key, std::wstring defaultValue,
                           std::wstring file);
int ReadIniInt(std::wstring section, std::wstring key, int defaultValue, std::wstring file);
// A failed write is not reported: the value is simply not stored.
void WriteIniString(std::wstring section, std::wstring key, std::wstring value, std::wstring file);

// A new GUID as 36 upper-case hex digits in 8-4-4-4-12 groups. When CoCreateGuid
// fails, the previous successful text (or empty) comes back.
std::wstring NewGuidString();

// Conversions through the ANSI code page. False for a null text; out is left alone then.
bool WideToAnsi(const wchar_t* text, std::string& out);
bool AnsiToWide(const char* text, std::wstring& out);

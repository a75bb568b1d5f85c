// Naming of a download's target file. Pure functions: no Win32 calls.
#pragma once

#include <string>

// The part of url after its last "/", query string included; empty when url has none.
std::wstring UrlLastSegment(const std::wstring& url);

// The file a task's body is written to. With nameAfterUrl, filePath is a folder (a "\"
// is added unless it ends in one) and the file is the URL's last segment; else with
// uniqueName, the file is guid + "_" + that segment; with neither, filePath itself.
std::wstring DeriveDownloadPath(const std::wstring& filePath, const std::wstring& url,
                                bool nameAfterUrl, bool uniqueName, const std::wstring& guid);

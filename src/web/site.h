// What the client relies on from the game site: its fixed paths and the markers its
// pages put into the addresses they navigate to. The host comes from the build's
// deployment values; every path and marker here is fixed.
#pragma once

#include <string>

namespace site {

// Paths on the game site's host.
inline constexpr wchar_t kLoginPath[] = L"/qaro/wd/index.html";
inline constexpr wchar_t kServerListPath[] = L"/qaro/wd/server.html";
inline constexpr wchar_t kHomePath[] = L"/qaro/";
inline constexpr wchar_t kPayPathFormat[] = L"/pay/?gid=%ls&sid=%ls&uid=%ls";
// On the customer-service chat host.
inline constexpr wchar_t kServicePath[] = L"/webCompany.php?arg=10132368";

// Markers, matched as case-sensitive substrings.
inline constexpr wchar_t kEnterGameMarker[] = L"wd_entergame=1";
inline constexpr wchar_t kServerParam[] = L"wd_server";
inline constexpr wchar_t kUserNameMarker[] = L"wd_username=";
inline constexpr wchar_t kOAuthMarker[] = L"login_oauth.php?act";

// "http://" + game host + path.
std::wstring GameSiteUrl(const wchar_t* path);
std::wstring LoginPageUrl();  // without the tracking query
std::wstring HomePageUrl();
std::wstring ServiceUrl();
// The game host followed by the server-list path: the substring that says the login
// page has reached the server list.
std::wstring ServerListMarker();
// The payment page for a server and user, both inserted as they are.
std::wstring PayUrl(const std::wstring& serverId, const std::wstring& userName);

}  // namespace site

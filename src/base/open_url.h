// Hands an address to the user's browser.
#pragma once

// Only "http://" and "https://" addresses (letter case ignored) are opened: pages and
// anyone on the plain-HTTP path to them choose these addresses, and the shell would run
// a "file:", UNC or local program path. Anything else is dropped silently.
// Tries Internet Explorer first, then the default handler of the address.
void OpenUrl(const wchar_t* url);

// The step after the check that starts the browser with a web address. Tests put their
// own in, so that the windows' links can be followed without a browser starting.
// Returns the launcher that was in place; null restores the shell's.
using UrlLauncher = void (*)(const wchar_t* url);
UrlLauncher SetUrlLauncher(UrlLauncher launcher);

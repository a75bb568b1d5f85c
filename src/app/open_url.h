// Hands an address to the user's browser.
#pragma once

// Only "http://" and "https://" addresses (letter case ignored) are opened: pages and
// anyone on the plain-HTTP path to them choose these addresses, and the shell would run
// a "file:", UNC or local program path. Anything else is dropped silently.
// Tries Internet Explorer first, then the default handler of the address.
void OpenUrl(const wchar_t* url);

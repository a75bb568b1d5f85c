// System probes other parts of the client call: emptying the browser's URL cache
// (which the hosted browser control shares with the system browser) and the elevation
// type of the process token.
#pragma once

#include <string>

// Deletes every URL-cache entry except cookies and the history of visited pages. Walks
// the cache once with one reused entry buffer that is replaced only after a failed call
// (by one of the size that call asked for), so large entries are read too; the walk ends
// after two failed calls in a row. Entries that cannot be deleted stay. Runs on the game
// window's cache-cleaning thread; touches no state of the client.
void CleanUrlCache();

// Whether CleanUrlCache deletes the entry with this address: true when the address
// contains neither "Cookie" nor "Visited", both tested case-sensitively anywhere in it.
bool ShouldDeleteCacheEntry(const std::wstring& url);

// The TOKEN_ELEVATION_TYPE of this process's token: 1 default, 2 full, 3 limited; 0 when
// the token cannot be opened for TOKEN_QUERY or the system does not know the query.
// Callable from any thread (the upgrade hand-over calls it on a worker thread).
int GetTokenElevationType();

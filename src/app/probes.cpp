#include "app/probes.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <new>

#include "base/handles.h"
#include "base/strings.h"

namespace {

constexpr DWORD kFirstEntryBufferBytes = 4096;

// An open URL-cache enumeration.
class CCacheEnumeration {
 public:
  CCacheEnumeration() = default;
  ~CCacheEnumeration() {
    if (m_hFind != nullptr) FindCloseUrlCache(m_hFind);
  }
  CCacheEnumeration(const CCacheEnumeration&) = delete;
  CCacheEnumeration& operator=(const CCacheEnumeration&) = delete;

  // The next entry into entry (bytes large): FindFirst while nothing is open, FindNext
  // afterwards. On failure bytes holds the size the call reported.
  bool Next(INTERNET_CACHE_ENTRY_INFOW* entry, DWORD& bytes) {
    entry->dwStructSize = bytes;
    if (m_hFind != nullptr) return FindNextUrlCacheEntryW(m_hFind, entry, &bytes) != FALSE;
    m_hFind = FindFirstUrlCacheEntryW(nullptr, entry, &bytes);
    return m_hFind != nullptr;
  }

 private:
  HANDLE m_hFind = nullptr;
};

// The entry buffer, kept aligned for the structure at its start.
std::unique_ptr<INTERNET_CACHE_ENTRY_INFOW[]> AllocateEntryBuffer(DWORD bytes) {
  const size_t count =
      (bytes + sizeof(INTERNET_CACHE_ENTRY_INFOW) - 1) / sizeof(INTERNET_CACHE_ENTRY_INFOW);
  return std::unique_ptr<INTERNET_CACHE_ENTRY_INFOW[]>(new (std::nothrow)
                                                           INTERNET_CACHE_ENTRY_INFOW[count]);
}

}  // namespace

bool ShouldDeleteCacheEntry(const std::wstring& url) {
  return !Contains(url, L"Cookie") && !Contains(url, L"Visited");
}

void CleanUrlCache() {
  CCacheEnumeration cache;
  DWORD capacity = kFirstEntryBufferBytes;
  bool failedBefore = false;
  while (true) {
    std::unique_ptr<INTERNET_CACHE_ENTRY_INFOW[]> buffer = AllocateEntryBuffer(capacity);
    if (!buffer) return;
    INTERNET_CACHE_ENTRY_INFOW* entry = buffer.get();
    while (true) {
      // WinINet writes the size it used into bytes on success, so every call starts
      // again from the whole buffer.
      DWORD bytes = capacity;
      if (!cache.Next(entry, bytes)) {
        if (failedBefore) return;
        failedBefore = true;
        // The same call is made again with a buffer of the size it asked for, so an
        // entry larger than the buffer is read whole. A failure other than a short
        // buffer may report any size; never go below the structure itself, whose
        // dwStructSize the next call writes.
        capacity = std::max<DWORD>(bytes, sizeof(INTERNET_CACHE_ENTRY_INFOW));
        break;
      }
      failedBefore = false;
      if (entry->lpszSourceUrlName != nullptr && ShouldDeleteCacheEntry(entry->lpszSourceUrlName))
        DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
    }
  }
}

int GetTokenElevationType() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 0;
  const CScopedHandle owner(token);
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD returned = 0;
  static_assert(sizeof type == 4, "the query answers 4 bytes");
  if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &returned)) return 0;
  return static_cast<int>(type);
}

#include "app/probes.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ts = testing_support;

namespace {

struct CacheEntry {
  std::wstring url;
  DWORD bytes;  // the size the entry needs as an INTERNET_CACHE_ENTRY_INFOW
};

// Every entry of the URL cache in enumeration order, read with a buffer far larger
// than any test entry.
std::vector<CacheEntry> ListCache() {
  std::vector<CacheEntry> entries;
  std::vector<INTERNET_CACHE_ENTRY_INFOW> buffer(65536 / sizeof(INTERNET_CACHE_ENTRY_INFOW));
  const DWORD capacity = static_cast<DWORD>(buffer.size() * sizeof buffer[0]);
  DWORD bytes = capacity;
  buffer[0].dwStructSize = bytes;
  HANDLE find = FindFirstUrlCacheEntryW(nullptr, buffer.data(), &bytes);
  if (find == nullptr) return entries;
  do {
    entries.push_back({buffer[0].lpszSourceUrlName, bytes});
    bytes = capacity;
    buffer[0].dwStructSize = bytes;
  } while (FindNextUrlCacheEntryW(find, buffer.data(), &bytes));
  FindCloseUrlCache(find);
  return entries;
}

std::vector<std::wstring> CacheUrls() {
  std::vector<std::wstring> urls;
  for (const CacheEntry& entry : ListCache()) urls.push_back(entry.url);
  std::sort(urls.begin(), urls.end());
  return urls;
}

// Adds a cache entry with a small local file and headerChars characters of header
// information, which is what makes an entry large.
void AddCacheEntry(const std::wstring& url, size_t headerChars) {
  wchar_t file[MAX_PATH] = {};
  ASSERT_TRUE(CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) << GetLastError();
  ts::WriteFileBytes(file, "cached body");
  std::wstring header =
      L"HTTP/1.1 200 OK\r\nX-Pad: " + std::wstring(headerChars, L'p') + L"\r\n\r\n";
  const FILETIME never = {};
  ASSERT_TRUE(CommitUrlCacheEntryW(
      url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, headerChars ? &header[0] : nullptr,
      headerChars ? static_cast<DWORD>(header.size()) : 0, L"txt", nullptr))
      << GetLastError();
}

// Every test starts from an empty cache and leaves one behind.
class UrlCache : public ::testing::Test {
 protected:
  void SetUp() override { Empty(); }
  void TearDown() override { Empty(); }
  static void Empty() {
    for (const CacheEntry& entry : ListCache()) DeleteUrlCacheEntryW(entry.url.c_str());
    ASSERT_TRUE(ListCache().empty());
  }
};

const wchar_t kCookie[] = L"Cookie:player@127.0.0.1/";
const wchar_t kVisited[] = L"Visited: player@http://127.0.0.1/game/index.html";

}  // namespace

TEST(CacheEntryFilter, KeepsCookiesAndHistoryOnly) {
  const struct {
    const wchar_t* url;
    bool deleted;
  } cases[] = {
      {L"http://127.0.0.1/game/index.html", true},
      {L"http://127.0.0.1/res/sprite.png", true},
      {L"http://127.0.0.1/js/cookie.js", true},  // the test is case-sensitive
      {L"Cookie:player@127.0.0.1/", false},
      {L"Visited: player@http://127.0.0.1/", false},
      {L"visited: player@http://127.0.0.1/", true},
      {L"http://127.0.0.1/a?x=Cookie", false},  // anywhere in the address
      {L"http://127.0.0.1/Visited.html", false},
      {L"", true},
  };
  for (const auto& c : cases) EXPECT_EQ(ShouldDeleteCacheEntry(c.url), c.deleted) << c.url;
}

TEST_F(UrlCache, CleaningKeepsCookiesAndHistory) {
  AddCacheEntry(L"http://127.0.0.1/game/index.html", 0);
  AddCacheEntry(L"http://127.0.0.1/res/sprite.png", 0);
  AddCacheEntry(L"http://127.0.0.1/js/cookie.js", 0);
  AddCacheEntry(L"http://127.0.0.1/res/big.css", 3000);  // over 4,096 bytes of entry
  AddCacheEntry(L"http://127.0.0.1/res/bigger.js", 9000);
  AddCacheEntry(kCookie, 0);
  AddCacheEntry(kVisited, 0);
  // The fixture must have a large entry somewhere after a small one.
  const std::vector<CacheEntry> before = ListCache();
  ASSERT_EQ(before.size(), 7u);
  bool smallSeen = false, largeAfterSmall = false;
  for (const CacheEntry& entry : before) {
    if (entry.bytes <= 4096) smallSeen = true;
    if (entry.bytes > 4096 && smallSeen) largeAfterSmall = true;
  }
  ASSERT_TRUE(largeAfterSmall);

  CleanUrlCache();
  EXPECT_EQ(CacheUrls(), (std::vector<std::wstring>{kCookie, kVisited}));
}

TEST_F(UrlCache, LargeFirstEntryIsReadAndTheWalkGoesOn) {
  // Every entry, the first one of the walk included, is larger than the first buffer.
  AddCacheEntry(kCookie, 3000);
  AddCacheEntry(kVisited, 3000);
  AddCacheEntry(L"http://127.0.0.1/game/index.html", 3000);
  AddCacheEntry(L"http://127.0.0.1/res/sprite.png", 5000);
  AddCacheEntry(L"http://127.0.0.1/res/atlas.png", 4000);
  const std::vector<CacheEntry> before = ListCache();
  ASSERT_EQ(before.size(), 5u);
  for (const CacheEntry& entry : before) ASSERT_GT(entry.bytes, 4096u) << entry.url;

  CleanUrlCache();
  EXPECT_EQ(CacheUrls(), (std::vector<std::wstring>{kCookie, kVisited}));
}

TEST_F(UrlCache, EmptyCacheEndsTheWalk) {
  CleanUrlCache();
  EXPECT_TRUE(ListCache().empty());
  AddCacheEntry(L"http://127.0.0.1/only.html", 0);
  CleanUrlCache();
  EXPECT_TRUE(ListCache().empty());
}

TEST(TokenElevation, KnownTypeOfThisProcess) {
  const int type = GetTokenElevationType();
  EXPECT_GE(type, 1);
  EXPECT_LE(type, 3);
  // The answer is the token's own: compare with a direct query.
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  TOKEN_ELEVATION_TYPE direct = TokenElevationTypeDefault;
  DWORD returned = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenElevationType, &direct, sizeof direct, &returned));
  CloseHandle(token);
  EXPECT_EQ(type, static_cast<int>(direct));
}

#include "base/strings.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Strings, AddBackslash) {
  EXPECT_EQ(AddBackslash(L""), L"");
  EXPECT_EQ(AddBackslash(L"C:\\a"), L"C:\\a\\");
  EXPECT_EQ(AddBackslash(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(AddBackslash(L"C:/a/"), L"C:/a/\\");
}

TEST(Strings, RemoveAll) {
  EXPECT_EQ(RemoveAll(L"1.0.3.5", L"."), L"1035");
  EXPECT_EQ(RemoveAll(L"2014-12-31", L"-"), L"20141231");
  // Resumes at the place of each removal, so "aab" minus "ab" leaves "a".
  EXPECT_EQ(RemoveAll(L"aabb", L"ab"), L"ab");
  EXPECT_EQ(RemoveAll(L"abc", L""), L"abc");
}

TEST(Strings, SplitString) {
  using Pieces = std::vector<std::wstring>;
  EXPECT_EQ(SplitString(L"3000,2000-3100", L','), (Pieces{L"3000", L"2000-3100"}));
  EXPECT_EQ(SplitString(L"a,,b", L','), (Pieces{L"a", L"", L"b"}));
  EXPECT_EQ(SplitString(L"", L','), Pieces{});
  EXPECT_EQ(SplitString(L"a,", L','), Pieces{L"a"});
  EXPECT_EQ(SplitString(L",a", L','), (Pieces{L"", L"a"}));
  EXPECT_EQ(SplitString(L"3000", L'-'), Pieces{L"3000"});
}

TEST(Strings, ParseInt) {
  const struct {
    const wchar_t* text;
    int value;
  } cases[] = {
      {L"3000", 3000},     {L"30a", 30},    {L"", 0},
      {L"abc", 0},         {L"  -12", -12}, {L"+7", 7},
      {L"-", 0},           {L"0012", 12},   {L"2147483647", 2147483647},
      {L"99999999999", 0}, {L"1.5", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInt(c.text), c.value) << c.text;
}

TEST(Strings, GetUrlParam) {
  const struct {
    const wchar_t* url;
    const wchar_t* name;
    const wchar_t* value;
  } cases[] = {
      {L"a.html?wd_server=12&x=1", L"wd_server", L"12"},
      {L"a.html?x=1", L"wd_server", L""},
      {L"a.html?x=1&wd_server=7", L"wd_server", L"7"},
      {L"a.html?wd_server=", L"wd_server", L""},
      // A plain substring search: the key matches inside a longer name.
      {L"a.html?old_server=3&server=4", L"server", L"3"},
      {L"a.html?s=1&s=2", L"s", L"1"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetUrlParam(c.url, c.name), c.value) << c.url;
}

TEST(Strings, BytesToHex) {
  unsigned char digest[16];
  for (auto& b : digest) b = 0xFF;
  digest[0] = 0x00;
  digest[1] = 0x1F;
  digest[2] = 0xA0;
  const std::wstring hex = BytesToHex(digest);
  EXPECT_EQ(hex.size(), 32u);
  EXPECT_EQ(hex.substr(0, 6), L"001fa0");
  EXPECT_EQ(hex.substr(6), std::wstring(26, L'f'));
}

TEST(Strings, FormatTime) {
  // Formats round-trip through local time; only the shape is fixed here.
  const std::wstring stamp = FormatTime(L"%Y%m%d%H%M%S", 1418000000);
  EXPECT_EQ(stamp.size(), 14u);
  EXPECT_EQ(stamp.substr(0, 6), L"201412");
  EXPECT_EQ(FormatTime(L"%Y-%m-%d", 1418000000).size(), 10u);
  EXPECT_EQ(FormatTime(L"%Y", -(1LL << 60)), L"");  // the local-time conversion fails
}

TEST(Strings, IsWebAddress) {
  const struct {
    const wchar_t* url;
    bool web;
  } cases[] = {
      {L"http://game.example/", true},
      {L"HTTPS://game.example/pay", true},
      {L"Http://x", true},
      {L"file:///C:/Windows/notepad.exe", false},
      {L"\\\\server\\share\\x.exe", false},
      {L"C:\\Games\\x.exe", false},
      {L"javascript:alert(1)", false},
      {L" http://leading.blank/", false},
      {L"http:", false},
      {L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWebAddress(c.url), c.web) << c.url;
}

// Small text helpers shared by every subsystem. Pure functions over wide strings:
// no Win32 calls, so they are tested by tables and safe on any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The path with "\" appended when it is not empty and does not end in one already.
std::wstring AddBackslash(const std::wstring& path);

// The text with every occurrence of pattern removed, left to right. An empty pattern
// removes nothing.
std::wstring RemoveAll(const std::wstring& text, const std::wstring& pattern);

// Pieces between separators. An empty text gives none, two separators in a row give an
// empty piece, a trailing separator adds no empty piece.
std::vector<std::wstring> SplitString(const std::wstring& text, wchar_t separator);

// Reads a decimal int the way a wide stream extracts one: leading blanks skipped,
// optional sign, digits up to the first other character. 0 when nothing can be read
// or the number does not fit in an int.
int ParseInt(const std::wstring& text);

// The value after the first "name=" anywhere in url, up to the next "&" or the end.
// A plain substring search: "server=" also matches inside "wd_server=". Empty when
// the key is absent.
std::wstring GetUrlParam(const std::wstring& url, const std::wstring& name);

// The 16 bytes of a digest as 32 lower-case hex digits, high half of each byte first.
std::wstring BytesToHex(const unsigned char* digest);

// The time (seconds since 1970) as local time through wcsftime into 128 characters.
// Empty when the conversion fails or the result does not fit.
std::wstring FormatTime(const wchar_t* format, std::int64_t time);

// Case-sensitive substring test, the one every marker and switch check uses.
inline bool Contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

// True only for addresses that start with "http://" or "https://", letter case ignored:
// the only ones the client hands to the user's browser.
bool IsWebAddress(const std::wstring& url);

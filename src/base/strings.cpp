#include "base/strings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <cwctype>

std::wstring AddBackslash(const std::wstring& path) {
  if (path.empty() || path.back() == L'\\') return path;
  return path + L'\\';
}

std::wstring RemoveAll(const std::wstring& text, const std::wstring& pattern) {
  if (pattern.empty()) return text;
  std::wstring result = text;
  for (size_t at = result.find(pattern); at != std::wstring::npos; at = result.find(pattern, at))
    result.erase(at, pattern.size());
  return result;
}

std::vector<std::wstring> SplitString(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> pieces;
  size_t start = 0;
  for (size_t hit = text.find(separator); hit != std::wstring::npos;
       hit = text.find(separator, start)) {
    pieces.push_back(text.substr(start, hit - start));
    start = hit + 1;
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

int ParseInt(const std::wstring& text) {
  size_t at = 0;
  while (at < text.size() && std::iswspace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
  long long value = 0;
  bool any = false;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    any = true;
    value = value * 10 + (text[at] - L'0');
    // A stream sets failbit on overflow and the target reads as 0 in that case too.
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (!any) return 0;
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<int>(value);
}

std::wstring GetUrlParam(const std::wstring& url, const std::wstring& name) {
  const std::wstring key = name + L'=';
  const size_t at = url.find(key);
  if (at == std::wstring::npos) return std::wstring();
  const size_t begin = at + key.size();
  const size_t end = url.find(L'&', begin);
  return url.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
}

std::wstring BytesToHex(const unsigned char* digest) {
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring hex;
  hex.reserve(32);
  for (int i = 0; i < 16; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0x0F];
  }
  return hex;
}

std::wstring FormatTime(const wchar_t* format, std::int64_t time) {
  const __time64_t value = time;
  struct tm local {};
  if (_localtime64_s(&local, &value) != 0) return std::wstring();
  wchar_t buffer[128] = {};
  if (std::wcsftime(buffer, 128, format, &local) == 0) return std::wstring();
  return buffer;
}

bool IsWebAddress(const std::wstring& url) {
  auto startsWithNoCase = [&url](const wchar_t* prefix) {
    const size_t length = std::wcslen(prefix);
    if (url.size() < length) return false;
    for (size_t i = 0; i < length; ++i)
      if (std::towlower(url[i]) != prefix[i]) return false;
    return true;
  };
  return startsWithNoCase(L"http://") || startsWithNoCase(L"https://");
}

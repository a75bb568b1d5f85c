#include "net/download_path.h"

#include "base/strings.h"

std::wstring UrlLastSegment(const std::wstring& url) {
  const size_t slash = url.rfind(L'/');
  return slash == std::wstring::npos ? std::wstring() : url.substr(slash + 1);
}

std::wstring DeriveDownloadPath(const std::wstring& filePath, const std::wstring& url,
                                bool nameAfterUrl, bool uniqueName, const std::wstring& guid) {
  if (!nameAfterUrl && !uniqueName) return filePath;
  const std::wstring folder = AddBackslash(filePath);
  if (nameAfterUrl) return folder + UrlLastSegment(url);
  return folder + guid + L"_" + UrlLastSegment(url);
}

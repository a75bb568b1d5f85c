// One attempt of a download task: a single synchronous WinINet request on the worker's
// thread. No request flags and no time-outs are set, so the system's defaults for the
// cache, cookies and redirections apply (the status read is that of the final response),
// and a request blocked in WinINet ends only when the server answers or closes.
#include <windows.h>
#include <wininet.h>

#include <cstdint>

#include "base/files.h"
#include "net/download_path.h"
#include "base/handles.h"
#include "net/worker_pool.h"

namespace {

constexpr wchar_t kAgent[] = L"HTTPDownloader";
constexpr wchar_t kFormHeader[] =
    L"Content-Type: application/x-www-form-urlencoded; charset=UTF-8;\r\n";
constexpr DWORD kBlockSize = 10240;

constexpr DWORD kHostCapacity = 2048;
constexpr DWORD kUserCapacity = 512;
constexpr DWORD kPasswordCapacity = 512;
constexpr DWORD kPathCapacity = 2048;

struct SplitUrl {
  wchar_t host[kHostCapacity] = {};
  wchar_t user[kUserCapacity] = {};
  wchar_t password[kPasswordCapacity] = {};
  wchar_t path[kPathCapacity] = {};
  INTERNET_PORT port = 0;
};

// The scheme and the extra information are not asked for, so the query string stays in
// the URL path and reaches the server as the caller wrote it.
bool CrackUrl(const std::wstring& url, SplitUrl& out) {
  URL_COMPONENTSW parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = out.host;
  parts.dwHostNameLength = kHostCapacity;
  parts.lpszUserName = out.user;
  parts.dwUserNameLength = kUserCapacity;
  parts.lpszPassword = out.password;
  parts.dwPasswordLength = kPasswordCapacity;
  parts.lpszUrlPath = out.path;
  parts.dwUrlPathLength = kPathCapacity;
  if (url.empty() || !InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
    return false;
  out.port = parts.nPort;
  return true;
}

// (announced - remaining) * 100 / announced, kept in 0..100 even when the server sends
// more than it announced.
intptr_t Percentage(std::int64_t announced, std::int64_t remaining) {
  std::int64_t percent = (announced - remaining) * 100 / announced;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  return static_cast<intptr_t>(percent);
}

}  // namespace

int CWorkerThread::Download(DownloadTask& task) {
  // A URL that cannot be split cannot be connected to; it must not pass for a download.
  SplitUrl url;
  if (!CrackUrl(task.url, url)) return DOWNLOAD_NO_CONNECTION;

  CInternetHandle session(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return DOWNLOAD_NO_CONNECTION;
  if (IsStopping()) return DOWNLOAD_STOPPED;

  CInternetHandle connection(InternetConnectW(session.Get(), url.host, url.port, url.user,
                                              url.password, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return DOWNLOAD_NO_CONNECTION;
  if (IsStopping()) return DOWNLOAD_STOPPED;

  const bool post = !task.body.empty();
  CInternetHandle request(HttpOpenRequestW(connection.Get(), post ? L"POST" : L"GET", url.path,
                                           nullptr, nullptr, nullptr, 0, 0));
  if (!request) return DOWNLOAD_SEND_FAILED;
  if (post && !HttpAddRequestHeadersW(request.Get(), kFormHeader, ARRAYSIZE(kFormHeader) - 1,
                                      HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE))
    return DOWNLOAD_SEND_FAILED;
  if (IsStopping()) return DOWNLOAD_STOPPED;

  if (!HttpSendRequestW(request.Get(), nullptr, 0,
                        post ? const_cast<char*>(task.body.data()) : nullptr,
                        post ? static_cast<DWORD>(task.body.size()) : 0))
    return DOWNLOAD_SEND_FAILED;
  if (IsStopping()) return DOWNLOAD_STOPPED;

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                      &size, nullptr) ||
      status >= 400)
    return DOWNLOAD_BAD_RESPONSE;

  // Beacons want only the status: their body is neither read nor stored.
  if (task.filePath.empty()) return DOWNLOAD_OK;

  // Derived once per task, so that every attempt (and the worker's deletion after a
  // failure) uses the same file, and a GUID name is not drawn again.
  if (!task.filePathDerived && (task.nameAfterUrl || task.uniqueName)) {
    const bool unique = !task.nameAfterUrl && task.uniqueName;
    task.filePath = DeriveDownloadPath(task.filePath, task.url, task.nameAfterUrl != 0,
                                       task.uniqueName != 0, unique ? NewGuidString() : L"");
    task.filePathDerived = true;
  }

  // A file counts as received only when its whole announced body is written, so a
  // response without a length (chunked, or ended by closing) is refused.
  DWORD announced = 0;
  size = sizeof(announced);
  if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced,
                      &size, nullptr))
    return DOWNLOAD_BAD_RESPONSE;
  if (IsStopping()) return DOWNLOAD_STOPPED;

  CScopedHandle file(CreateFileW(task.filePath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                 CREATE_ALWAYS, 0, nullptr));
  if (!file.IsValid()) return DOWNLOAD_CREATE_FAILED;

  char block[kBlockSize];
  int result = DOWNLOAD_OK;
  std::int64_t remaining = announced;
  while (remaining > 0) {
    if (IsStopping()) {
      result = DOWNLOAD_STOPPED;
      break;
    }
    DWORD got = 0;
    // A successful read of nothing while bytes are still announced means the server
    // closed early; reading again would return nothing for ever.
    if (!InternetReadFile(request.Get(), block, kBlockSize, &got) || got == 0) {
      result = DOWNLOAD_READ_FAILED;
      break;
    }
    remaining -= got;
    if (task.callback != nullptr)
      task.callback(task.userData, task.taskId, DOWNLOAD_EVENT_PROGRESS, DOWNLOAD_OK,
                    Percentage(announced, remaining));
    DWORD written = 0;
    if (!WriteFile(file.Get(), block, got, &written, nullptr) || written != got) {
      result = DOWNLOAD_WRITE_FAILED;
      break;
    }
  }
  // The file is closed before the request, the connection and the session (in that
  // order, as the handles were declared).
  file.Reset();
  return result;
}

// Measures the pool and the downloader against the least program that can fetch the same
// file on the same platform. One measurement per run, so that the peak working set is
// that of the process that downloaded:
//   download_bench floor URL   a bare InternetReadFile / WriteFile loop, 10,240-byte blocks
//   download_bench pool URL    one task through CWorkerPool and CWorkerThread::Download
//   download_bench start URL   Enqueue to event 1 on an idle pool (median of 25)
// Prints "name: value" lines. The body goes to a file in the temporary folder, which is
// deleted afterwards together with the URL's cache entry.
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/handles.h"
#include "net/worker_pool.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PeakWorkingSetMiB() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

ULONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void PrintRate(const char* name, ULONGLONG bytes, double seconds) {
  std::printf("%s: %.1f\n", name, static_cast<double>(bytes) / (1024.0 * 1024.0) / seconds);
}

// The same requests as the downloader (no flags, same agent), without pool, callbacks
// or checks: what the platform itself allows.
int Floor(const std::wstring& url, const std::wstring& file) {
  const double start = Now();
  wchar_t host[2048] = {}, path[2048] = {};
  URL_COMPONENTSW parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host;
  parts.dwHostNameLength = ARRAYSIZE(host);
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = ARRAYSIZE(path);
  if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return 2;
  CInternetHandle session(
      InternetOpenW(L"HTTPDownloader", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  CInternetHandle connection(
      InternetConnectW(session.Get(), host, parts.nPort, L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
  CInternetHandle request(
      HttpOpenRequestW(connection.Get(), L"GET", path, nullptr, nullptr, nullptr, 0, 0));
  if (!request || !HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) return 3;
  CScopedHandle out(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
  if (!out.IsValid()) return 5;
  static char block[10240];
  DWORD got = 0;
  while (InternetReadFile(request.Get(), block, sizeof(block), &got) && got > 0) {
    DWORD written = 0;
    if (!WriteFile(out.Get(), block, got, &written, nullptr)) return 7;
  }
  out.Reset();
  const double seconds = Now() - start;
  PrintRate("mib_s", FileSize(file), seconds);
  return 0;
}

struct Completion {
  HANDLE started = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE finished = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  double startedAt = 0;
  int result = 1;
};

int OnEvent(void* userData, int, int event, int result, intptr_t) {
  auto* completion = static_cast<Completion*>(userData);
  if (event == DOWNLOAD_EVENT_STARTED) {
    completion->startedAt = Now();
    SetEvent(completion->started);
  } else if (event == DOWNLOAD_EVENT_FINISHED) {
    completion->result = result;
    SetEvent(completion->finished);
  }
  return 0;
}

int Pool(const std::wstring& url, const std::wstring& file) {
  CWorkerPool pool;
  if (!pool.Start()) return 10;
  Completion completion;
  DownloadTask task;
  task.url = url;
  task.filePath = file;
  task.callback = &OnEvent;
  task.userData = &completion;
  const double start = Now();
  if (!pool.Enqueue(task)) return 11;
  WaitForSingleObject(completion.finished, INFINITE);
  const double seconds = Now() - start;
  if (completion.result != DOWNLOAD_OK) return 12;
  PrintRate("mib_s", FileSize(file), seconds);
  std::printf("peak_working_set_mib: %.1f\n", PeakWorkingSetMiB());
  return 0;
}

int EnqueueToStart(const std::wstring& url) {
  CWorkerPool pool;
  if (!pool.Start()) return 10;
  std::vector<double> delays;
  for (int i = 0; i < 25; ++i) {
    Sleep(50);  // both workers are back waiting on their events
    Completion completion;
    DownloadTask task;
    task.url = url;
    task.callback = &OnEvent;
    task.userData = &completion;
    const double enqueued = Now();
    if (!pool.Enqueue(task)) return 11;
    WaitForSingleObject(completion.finished, INFINITE);
    delays.push_back((completion.startedAt - enqueued) * 1000.0);
  }
  std::sort(delays.begin(), delays.end());
  std::printf("enqueue_to_start_ms: %.3f\n", delays[delays.size() / 2]);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: download_bench floor|pool|start URL\n");
    return 1;
  }
  const std::wstring mode = argv[1];
  const std::wstring url = argv[2];
  const std::wstring file = GetTempFolder() + L"download_bench.bin";
  int rc = 1;
  if (mode == L"floor") rc = Floor(url, file);
  if (mode == L"pool") rc = Pool(url, file);
  if (mode == L"start") rc = EnqueueToStart(url);
  DeleteFileW(file.c_str());
  DeleteUrlCacheEntryW(url.c_str());
  std::fflush(stdout);
  return rc;
}

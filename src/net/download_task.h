// The unit of work of the worker pool: one HTTP transfer, its callback and the naming
// rules for the file its body goes to. Plain data, copied by CWorkerPool::Enqueue.
#pragma once

#include <cstdint>
#include <string>

// Events a task reports to its callback, always on the worker thread that runs it.
inline constexpr int DOWNLOAD_EVENT_STARTED = 1;   // taken by a worker; result 0, extra 0
inline constexpr int DOWNLOAD_EVENT_PROGRESS = 2;  // a block was read; extra = percent 0..100
inline constexpr int DOWNLOAD_EVENT_FINISHED = 3;  // last attempt's result; extra = the task

// Results of one attempt (CWorkerThread::Download).
inline constexpr int DOWNLOAD_OK = 0;
inline constexpr int DOWNLOAD_STOPPED = -1;        // the worker's stop flag was seen
inline constexpr int DOWNLOAD_NO_CONNECTION = -2;  // bad URL, session or connection
inline constexpr int DOWNLOAD_SEND_FAILED = -3;    // request open, header or send
inline constexpr int DOWNLOAD_BAD_RESPONSE = -4;   // no status, status >= 400, no length
inline constexpr int DOWNLOAD_CREATE_FAILED = -5;  // the target file
inline constexpr int DOWNLOAD_READ_FAILED = -6;    // reading the body, or it ended early
inline constexpr int DOWNLOAD_WRITE_FAILED = -7;   // writing to the target file

// (user data, task id, event, result, extra); the return value is ignored. For event 3,
// extra is the DownloadTask*, valid only during the call.
typedef int (*DownloadCallback)(void* userData, int taskId, int event, int result, intptr_t extra);

struct DownloadTask {
  std::wstring url;       // absolute http:// address; its query string is sent unescaped
  std::wstring filePath;  // where the body goes; empty = the body is not read
  std::string body;       // request bytes; empty = GET, else POST of a form-encoded body
  int retries = 0;        // further attempts after a failed one
  DownloadCallback callback = nullptr;
  void* userData = nullptr;
  int taskId = 0;
  int nameAfterUrl = 0;     // filePath is a folder; the file is named after the URL
  int uniqueName = 0;       // filePath is a folder; the file is GUID + "_" + URL name
  int deleteOnFailure = 1;  // delete the file when the task ends without success
  // Set by the downloader once filePath holds the derived final path, so that a later
  // attempt writes to the same file instead of deriving again from a derived path.
  bool filePathDerived = false;

  int BodyLength() const { return static_cast<int>(body.size()); }
};

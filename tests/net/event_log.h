// Records what a download task tells its callback, from whichever worker thread.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "net/download_task.h"

struct TaskEvent {
  int taskId = 0;
  int event = 0;
  int result = 0;
  intptr_t extra = 0;
  std::wstring filePath;  // the task's file path, for event 3
  ULONGLONG at = 0;
};

class EventLog {
 public:
  // The DownloadCallback to put in a task, with a pointer to the log as its user data.
  static int Callback(void* userData, int taskId, int event, int result, intptr_t extra) {
    auto* log = static_cast<EventLog*>(userData);
    TaskEvent entry{taskId, event, result, extra, std::wstring(), GetTickCount64()};
    if (event == DOWNLOAD_EVENT_FINISHED)
      entry.filePath = reinterpret_cast<DownloadTask*>(extra)->filePath;
    {
      std::lock_guard<std::mutex> lock(log->m_mutex);
      log->m_events.push_back(entry);
    }
    log->m_changed.notify_all();
    if (log->onEvent) log->onEvent(entry);
    return 0;
  }

  void Attach(DownloadTask& task, int taskId = 0) {
    task.callback = &EventLog::Callback;
    task.userData = this;
    task.taskId = taskId;
  }

  std::vector<TaskEvent> Events() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
  }
  std::vector<TaskEvent> Of(int event) const {
    std::vector<TaskEvent> matching;
    for (const TaskEvent& entry : Events())
      if (entry.event == event) matching.push_back(entry);
    return matching;
  }
  // Waits until count events of that kind have arrived; false after timeoutMs.
  bool WaitFor(int event, size_t count, DWORD timeoutMs) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      size_t seen = 0;
      for (const TaskEvent& entry : m_events) seen += entry.event == event ? 1 : 0;
      return seen >= count;
    });
  }

  // Called on the worker thread after each event is recorded.
  std::function<void(const TaskEvent&)> onEvent;

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::vector<TaskEvent> m_events;
};

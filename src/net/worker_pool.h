// The pool of two worker threads that carries out every transfer the client makes
// itself (version file, upgrader, beacons), so that the window thread never waits on
// the network.
//
// Tasks wait in a first-in first-out queue under one lock. Each worker sleeps on its own
// auto-reset event (at most 10 s at a time), takes the oldest task, reports event 1, makes
// up to 1 + retries attempts with a 1 s pause between them, reports event 3 with the last
// result unless it is being stopped, deletes the file of a failed or stopped task when the
// task asks for it, and frees the task. The lock is held only for list operations, never
// while downloading or calling back.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <vector>

#include "base/handles.h"
#include "net/download_task.h"
#include "net/thread_holder.h"

class CWorkerPool;

class CWorkerThread {
 public:
  explicit CWorkerThread(CWorkerPool* pool) : m_pool(pool) {}
  ~CWorkerThread();
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  // Creates the wake-up event and starts the thread; false when either fails.
  bool Begin();
  // Asks the thread to end, wakes it and waits up to 5,000 ms; a thread still running
  // then is terminated. Any thread; safe to call again.
  void Stop();
  // Wakes the worker if it is waiting for a task. Any thread.
  void Wake() const;
  bool IsStopping() const { return m_holder.IsStopping(); }

  // One attempt of task over HTTP (see downloader.cpp): 0 or a DOWNLOAD_* failure code.
  // May replace task.filePath with the final path it derives. Worker thread only.
  int Download(DownloadTask& task);

  CThreadHolder m_holder;
  CWorkerPool* m_pool;
  CScopedHandle m_hEvent;

 private:
  static unsigned Loop(void* worker);
  void RunTask(DownloadTask& task);
};

class CWorkerPool {
 public:
  CWorkerPool();
  // StopAll, then the tasks still queued are dropped without any callback.
  ~CWorkerPool();
  CWorkerPool(const CWorkerPool&) = delete;
  CWorkerPool& operator=(const CWorkerPool&) = delete;

  // Starts the workers unless they run; true when at least one runs. Callers check
  // IsStarted() and call Start before queuing. Not on two threads at once.
  bool Start();
  bool IsStarted() const { return m_started.load(std::memory_order_acquire) != 0; }

  // Queues a private copy of task and wakes the workers; false only when the copy cannot
  // be made. A task queued before Start waits for it. Any thread, callbacks included.
  bool Enqueue(const DownloadTask& task);
  // The oldest task, now owned by the caller, or null. Workers only.
  DownloadTask* Dequeue();

  // Stops the workers one after the other (up to 5,000 ms each) and destroys them.
  // Queued tasks stay queued. Main thread; doing it again does nothing.
  void StopAll();

  // Tasks waiting in the queue (for tests and diagnostics).
  size_t QueuedCount();

  const int m_threadCount = 2;

 private:
  std::deque<DownloadTask*> m_queue;
  // Guards the queue and the worker list: a completion callback may queue a task (the
  // upgrader download) while another worker is being stopped and destroyed.
  CRITICAL_SECTION m_lock;
  std::atomic<int> m_started{0};
  std::vector<CWorkerThread*> m_workers;
};

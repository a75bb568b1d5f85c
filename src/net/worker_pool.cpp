#include "net/worker_pool.h"

#include <memory>
#include <new>

#include "base/handles.h"

namespace {

constexpr DWORD kIdleWaitMs = 10000;
constexpr DWORD kStopWaitMs = 5000;
// The pause between two attempts: 10 naps of 100 ms, so that a stop ends it early.
constexpr int kRetryNaps = 10;
constexpr DWORD kRetryNapMs = 100;

}  // namespace

CWorkerThread::~CWorkerThread() { Stop(); }

bool CWorkerThread::Begin() {
  // A worker without its event would poll the queue without pausing; it is discarded
  // like one whose thread cannot be created.
  m_hEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!m_hEvent) return false;
  return m_holder.Begin(&CWorkerThread::Loop, this);
}

void CWorkerThread::Stop() {
  m_holder.RequestStop();
  if (m_hEvent) SetEvent(m_hEvent.Get());
  if (m_holder.m_hThread) {
    // A worker blocked inside WinINet (there are no time-outs) is not waited for at
    // exit longer than this; its task is then lost without event 3.
    if (WaitForSingleObject(m_holder.m_hThread.Get(), kStopWaitMs) == WAIT_TIMEOUT)
      TerminateThread(m_holder.m_hThread.Get(), 0);
    m_holder.m_hThread.Reset();
  }
}

void CWorkerThread::Wake() const {
  if (m_hEvent) SetEvent(m_hEvent.Get());
}

unsigned CWorkerThread::Loop(void* argument) {
  auto* self = static_cast<CWorkerThread*>(argument);
  while (!self->IsStopping()) {
    std::unique_ptr<DownloadTask> task(self->m_pool->Dequeue());
    if (!task) {
      // Woken early by Enqueue or Stop; the time limit only bounds an idle loop.
      WaitForSingleObject(self->m_hEvent.Get(), kIdleWaitMs);
      continue;
    }
    // A callback that throws loses its own task, not the worker.
    try {
      self->RunTask(*task);
    } catch (...) {
    }
  }
  return 0;
}

void CWorkerThread::RunTask(DownloadTask& task) {
  if (task.callback != nullptr)
    task.callback(task.userData, task.taskId, DOWNLOAD_EVENT_STARTED, DOWNLOAD_OK, 0);
  int result = DOWNLOAD_STOPPED;
  if (!IsStopping()) {
    // A negative count of retries still gets its one attempt.
    const long long retries = task.retries > 0 ? task.retries : 0;
    for (long long failures = 0;;) {
      result = Download(task);
      if (result == DOWNLOAD_OK) break;
      ++failures;
      if (IsStopping() || failures > retries) break;
      for (int nap = 0; nap < kRetryNaps && !IsStopping(); ++nap) Sleep(kRetryNapMs);
      if (IsStopping()) break;
    }
    if (!IsStopping() && task.callback != nullptr)
      task.callback(task.userData, task.taskId, DOWNLOAD_EVENT_FINISHED, result,
                    reinterpret_cast<intptr_t>(&task));
  }
  // A stop just after a successful attempt removes the file too: the caller never heard
  // of it, so it must not be taken for a finished download later.
  if ((IsStopping() || result != DOWNLOAD_OK) && !task.filePath.empty() && task.deleteOnFailure)
    DeleteFileW(task.filePath.c_str());
}

CWorkerPool::CWorkerPool() { InitializeCriticalSection(&m_lock); }

CWorkerPool::~CWorkerPool() {
  StopAll();
  for (DownloadTask* task : m_queue) delete task;
  m_queue.clear();
  DeleteCriticalSection(&m_lock);
}

bool CWorkerPool::Start() {
  if (IsStarted()) return true;
  for (int i = 0; i < m_threadCount; ++i) {
    auto* worker = new (std::nothrow) CWorkerThread(this);
    if (worker == nullptr) continue;
    if (!worker->Begin()) {
      delete worker;
      continue;
    }
    try {
      CCriticalSectionLock lock(m_lock);
      m_workers.push_back(worker);
    } catch (...) {
      delete worker;
    }
  }
  CCriticalSectionLock lock(m_lock);
  m_started.store(m_workers.empty() ? 0 : 1, std::memory_order_release);
  return IsStarted();
}

bool CWorkerPool::Enqueue(const DownloadTask& task) {
  DownloadTask* copy = nullptr;
  try {
    copy = new DownloadTask(task);
    CCriticalSectionLock lock(m_lock);
    m_queue.push_back(copy);
    // Signalling under the lock keeps the worker list steady while StopAll takes it
    // apart; SetEvent never blocks.
    for (CWorkerThread* worker : m_workers) worker->Wake();
  } catch (...) {
    delete copy;
    return false;
  }
  return true;
}

DownloadTask* CWorkerPool::Dequeue() {
  CCriticalSectionLock lock(m_lock);
  if (m_queue.empty()) return nullptr;
  DownloadTask* task = m_queue.front();
  m_queue.pop_front();
  return task;
}

void CWorkerPool::StopAll() {
  std::vector<CWorkerThread*> workers;
  {
    CCriticalSectionLock lock(m_lock);
    workers.swap(m_workers);
  }
  for (CWorkerThread* worker : workers) {
    worker->Stop();
    delete worker;
  }
  m_started.store(0, std::memory_order_release);
}

size_t CWorkerPool::QueuedCount() {
  CCriticalSectionLock lock(m_lock);
  return m_queue.size();
}

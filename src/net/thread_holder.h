// One thread, its stop flag and the routine it runs.
#pragma once

#include <windows.h>

#include <atomic>

#include "base/handles.h"

class CThreadHolder {
 public:
  typedef unsigned (*Routine)(void* argument);

  CThreadHolder() = default;
  // Sets the stop flag and, while a thread is held, waits for it without a time limit.
  virtual ~CThreadHolder();
  CThreadHolder(const CThreadHolder&) = delete;
  CThreadHolder& operator=(const CThreadHolder&) = delete;

  // Clears the stop flag and starts a thread running routine(argument). False when the
  // thread cannot be created (the flag is set again then). Not while a thread is held.
  bool Begin(Routine routine, void* argument);

  // Read by the thread between its steps; written by whoever stops it.
  bool IsStopping() const { return m_stop.load(std::memory_order_acquire) != 0; }
  void RequestStop() { m_stop.store(1, std::memory_order_release); }

  CScopedHandle m_hThread;
  // 1 = stop requested or not running; cleared just before the thread starts.
  std::atomic<int> m_stop{1};
  Routine m_routine = nullptr;
  void* m_argument = nullptr;

 private:
  static unsigned __stdcall ThreadEntry(void* holder);
};

#include "net/thread_holder.h"

#include <process.h>

CThreadHolder::~CThreadHolder() {
  RequestStop();
  if (m_hThread) {
    WaitForSingleObject(m_hThread.Get(), INFINITE);
    m_hThread.Reset();
  }
}

bool CThreadHolder::Begin(Routine routine, void* argument) {
  m_routine = routine;
  m_argument = argument;
  m_stop.store(0, std::memory_order_release);
  // _beginthreadex, not CreateThread, so that the C run-time is set up for the thread.
  const uintptr_t thread =
      _beginthreadex(nullptr, 0, &CThreadHolder::ThreadEntry, this, 0, nullptr);
  if (thread == 0) {
    RequestStop();
    return false;
  }
  m_hThread.Reset(reinterpret_cast<HANDLE>(thread));
  return true;
}

unsigned __stdcall CThreadHolder::ThreadEntry(void* holder) {
  // Nothing thrown may leave a thread's entry function; a routine that throws simply
  // ends its thread.
  try {
    const auto* self = static_cast<CThreadHolder*>(holder);
    if (self->m_routine != nullptr) self->m_routine(self->m_argument);
  } catch (...) {
  }
  return 0;
}

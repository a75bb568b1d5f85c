// Scoped owners of the kernel and WinINet handles the pool and the downloader hold.
// Each closes its handle on every path; copying is deleted, moving is allowed.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

// A kernel handle closed with CloseHandle. Both null and INVALID_HANDLE_VALUE mean
// "none", since CreateFileW and CreateEventW disagree on how they fail.
class CScopedHandle {
 public:
  CScopedHandle() = default;
  explicit CScopedHandle(HANDLE handle) : m_handle(handle) {}
  ~CScopedHandle() { Reset(); }
  CScopedHandle(const CScopedHandle&) = delete;
  CScopedHandle& operator=(const CScopedHandle&) = delete;
  CScopedHandle(CScopedHandle&& other) noexcept : m_handle(other.Release()) {}
  CScopedHandle& operator=(CScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  HANDLE Get() const { return m_handle; }
  bool Valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(m_handle, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) CloseHandle(m_handle);
    m_handle = handle;
  }

 private:
  HANDLE m_handle = nullptr;
};

// A WinINet handle (session, connection or request) closed with InternetCloseHandle.
class CInternetHandle {
 public:
  CInternetHandle() = default;
  explicit CInternetHandle(HINTERNET handle) : m_handle(handle) {}
  ~CInternetHandle() { Reset(); }
  CInternetHandle(const CInternetHandle&) = delete;
  CInternetHandle& operator=(const CInternetHandle&) = delete;
  CInternetHandle(CInternetHandle&& other) noexcept
      : m_handle(std::exchange(other.m_handle, nullptr)) {}
  CInternetHandle& operator=(CInternetHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.m_handle, nullptr));
    return *this;
  }

  HINTERNET Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  void Reset(HINTERNET handle = nullptr) {
    if (m_handle != nullptr) InternetCloseHandle(m_handle);
    m_handle = handle;
  }

 private:
  HINTERNET m_handle = nullptr;
};

// Holds a critical section for one scope.
class CCriticalSectionLock {
 public:
  explicit CCriticalSectionLock(CRITICAL_SECTION& section) : m_section(section) {
    EnterCriticalSection(&m_section);
  }
  ~CCriticalSectionLock() { LeaveCriticalSection(&m_section); }
  CCriticalSectionLock(const CCriticalSectionLock&) = delete;
  CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;

 private:
  CRITICAL_SECTION& m_section;
};

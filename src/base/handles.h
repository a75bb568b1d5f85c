// Scoped owners of the handles the client opens: kernel handles, registry keys, WinINet
// handles and a held critical section. Each releases on every path; copying is deleted,
// moving is allowed.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

// A kernel object handle (file, device, snapshot, process, token). Both null and
// INVALID_HANDLE_VALUE count as "nothing open", since CreateFileW and
// CreateToolhelp32Snapshot report failure with the latter and most others with null.
class CScopedHandle {
 public:
  CScopedHandle() = default;
  explicit CScopedHandle(HANDLE handle) : m_hHandle(handle) {}
  ~CScopedHandle() { Reset(); }
  CScopedHandle(const CScopedHandle&) = delete;
  CScopedHandle& operator=(const CScopedHandle&) = delete;
  CScopedHandle(CScopedHandle&& other) noexcept : m_hHandle(other.Release()) {}
  CScopedHandle& operator=(CScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  HANDLE Get() const { return m_hHandle; }
  bool IsValid() const { return m_hHandle != nullptr && m_hHandle != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return IsValid(); }

  HANDLE Release() { return std::exchange(m_hHandle, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    if (IsValid()) CloseHandle(m_hHandle);
    m_hHandle = handle;
  }

 private:
  HANDLE m_hHandle = nullptr;
};

// An open registry key; Put() hands out the slot RegOpenKeyExW fills.
class CScopedRegKey {
 public:
  CScopedRegKey() = default;
  ~CScopedRegKey() { Reset(); }
  CScopedRegKey(const CScopedRegKey&) = delete;
  CScopedRegKey& operator=(const CScopedRegKey&) = delete;
  CScopedRegKey(CScopedRegKey&& other) noexcept : m_hKey(std::exchange(other.m_hKey, nullptr)) {}
  CScopedRegKey& operator=(CScopedRegKey&& other) noexcept {
    if (this != &other) {
      Reset();
      m_hKey = std::exchange(other.m_hKey, nullptr);
    }
    return *this;
  }

  HKEY Get() const { return m_hKey; }
  HKEY* Put() {
    Reset();
    return &m_hKey;
  }
  void Reset() {
    if (m_hKey != nullptr) RegCloseKey(m_hKey);
    m_hKey = nullptr;
  }

 private:
  HKEY m_hKey = nullptr;
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

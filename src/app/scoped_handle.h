// Owners for the kernel handles and registry keys the probes open: each closes its
// handle when it goes out of scope, so every early return releases what was opened.
#pragma once

#include <windows.h>

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

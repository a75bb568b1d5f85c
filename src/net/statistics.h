// The install, activation and uninstall reports to the platform's statistics service.
// The values the beacons carry are gathered once per process, on the first beacon; the
// beacons themselves are downloads the program queues (on its worker pool), their
// answers (an image nobody reads) kept in the temporary folder.
#pragma once

#include <string>

#include "net/beacon.h"

// What the beacons carry from the program's configuration and command line.
struct StatisticsContext {
  std::wstring refer;    // the Refer setting
  std::wstring uid;      // the UID setting: the game's code
  bool autorun = false;  // Windows started the program ("/autorun" on its command line)
};

// Where the beacons go: queues url as a download into the temporary folder as fileName
// (named after the address when empty) under taskId. False when nothing was queued.
class IBeaconQueue {
 public:
  virtual bool QueueTempDownload(const std::wstring& url, int taskId,
                                 const std::wstring& fileName) = 0;

 protected:
  ~IBeaconQueue() = default;
};

class CStatistics {
 public:
  CStatistics() = default;

  // The program's values and its download queue, before the first beacon. Without a
  // queue no beacon is sent.
  void Attach(const StatisticsContext& context, IBeaconQueue* queue) {
    m_context = context;
    m_pQueue = queue;
  }

  // Gathers the values once; later calls return at once. Creates and stores the install
  // identifier and install time when the settings file has none; reads the install type,
  // the internet-cafe probe and the machine identifier. Main thread.
  void Initialise();

  // Each queues its beacon (task 3, 4, 5) and returns whether it was queued. The active
  // beacon goes at most once per process, counted before queuing so a failure is not
  // repeated. Main thread.
  bool SendInstallBeacon();
  bool SendActiveBeacon();
  bool SendUninstallBeacon();

  bool m_bInitialised = false;
  std::wstring m_strInstallId;  // 32 upper-case hex digits when made here
  bool m_bInternetCafe = false;
  bool m_bAutorun = false;
  std::wstring m_strMachineId;
  std::wstring m_strInstallTime;
  std::wstring m_strTag = L"kjfs";
  int m_nInstallType = 0;
  bool m_bActiveSent = false;

 private:
  BeaconFields Fields() const;
  bool Queue(const std::wstring& url, int taskId, const wchar_t* fileName);

  StatisticsContext m_context;
  IBeaconQueue* m_pQueue = nullptr;
};

// The beacon answers in the temporary folder.
inline constexpr wchar_t kInstallBeaconFile[] = L"InstallStat.tmp";
inline constexpr wchar_t kActiveBeaconFile[] = L"ActiveStat.tmp";
inline constexpr wchar_t kUninstallBeaconFile[] = L"UninstallStat.tmp";

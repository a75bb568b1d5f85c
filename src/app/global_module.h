// The application object: owns the background and login windows, holds the game
// window and the OAuth popup while they exist, owns the worker pool, keeps the
// configuration, routes every message of the shared window class and filters the
// message loop.
//
// The program has one, a static object beside the entry point, built before wWinMain
// (it loads the configuration) and destroyed after it. App() reaches the newest
// instance alive, so tests build their own objects against a clean settings file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/message_loop.h"
#include "app/run_mode.h"
#include "net/statistics.h"
#include "ui/form_back.h"
#include "web/form_login.h"

class CFormGame;
class CFormQQLogin;
class CWorkerPool;
struct DownloadTask;

class CGlobalModule : public CMessageFilter {
 public:
  // commandLine decides the run mode and whether this process counts as a run.
  explicit CGlobalModule(std::wstring commandLine = GetCommandLineW());
  virtual ~CGlobalModule();
  CGlobalModule(const CGlobalModule&) = delete;
  CGlobalModule& operator=(const CGlobalModule&) = delete;

  // Lets only the form in front pre-translate a message (the OAuth popup, the visible
  // login window or the game window). Main thread.
  BOOL PreTranslateMessage(MSG* msg) override;

  // The procedure behind the shared window class: hands each message to the form that
  // owns the window, else DefWindowProcW. Main thread.
  LRESULT RouteWindowMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam);

  // Chooses the run mode, prepares its windows, runs the loop; the loop's exit code.
  int Run();

  // Configuration and counters, all over the settings file.
  void LoadConfiguration();
  // Counts this process once (not in set-up or show-desktop mode) and returns the count.
  int GetRunCount();
  bool IsActiveCounted();
  void SetActiveCounted();
  std::wstring GetLoginUrl() const { return loginUrl; }
  std::wstring GetRefer() const { return referTag; }
  std::wstring GetUid() const { return uid; }
  std::wstring GetPayUrl() const;
  // The command line the run mode and the beacons are read from.
  const std::wstring& CommandLine() const { return m_commandLine; }

  // Upgrade and downloads (upgrade.cpp). Every queuing starts the pool first when it
  // does not run; without a pool nothing is queued and the result is false.
  //
  // Queues the version file once per process (main thread); later calls do nothing.
  void StartVersionCheck();
  // Queues the upgrader download to the upgrader's path.
  bool StartUpgraderDownload();
  // Queues url into the temporary folder as fileName (named after the URL when empty).
  bool QueueTempDownload(const std::wstring& url, int taskId, const std::wstring& fileName);
  // The callback of every task queued here (user = the application object); acts on
  // event 3 only, on the worker thread: offers the upgrade, hands over to the upgrader,
  // or ends a one-shot run.
  static int OnDownloadEvent(void* user, int taskId, int event, int result, intptr_t extra);

  HINSTANCE instance = nullptr;
  WCHAR windowTitle[100] = {};
  WCHAR windowClassName[100] = {};
  CFormBack formBack;
  CFormLogin formLogin;
  CFormQQLogin* formOAuth = nullptr;
  CFormGame* formGame = nullptr;
  CWorkerPool* workerPool = nullptr;
  CStatistics statistics;
  std::wstring latestVersion;
  std::wstring loginUrl;
  std::wstring versionCheckUrl;
  std::wstring upgraderUrl;
  std::wstring referTag;
  std::wstring uid;
  int topMost = 0;
  std::wstring userName;
  std::wstring serverId;
  int runCount = 0;

 private:
  // Queues the beacon of a one-shot run; false when nothing was queued, so that the run
  // ends at once instead of waiting for a completion that cannot come.
  bool QueueOneShotBeacon(RunMode mode);
  int RunMessageLoop();

  DownloadTask MakeTask(const std::wstring& url, int taskId, const std::wstring& filePath);
  bool QueueDownload(const DownloadTask& task);
  // On the worker that completed the version file: the decision, the offer and the
  // upgrader download.
  void OfferUpgrade(const std::wstring& versionFile);
  // On the worker that completed the upgrader: the signature check and the start.
  void HandOverToUpgrader(const std::wstring& upgraderPath);
  void HideForUpgrade();
  // A failed upgrade gives the player the windows back as they were before.
  void ShowAfterFailedUpgrade();

  std::wstring m_commandLine;
  CGlobalModule* m_previous;
  bool m_bVersionCheckQueued = false;  // main thread only
  bool m_bLoginShownBeforeUpgrade = false;
  bool m_bBackShownBeforeUpgrade = false;
};

// The newest application object alive.
CGlobalModule& App();

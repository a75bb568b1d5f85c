// The application object: owns the background and login windows, holds the game
// window and the OAuth popup while they exist, owns the worker pool, keeps the
// configuration, routes every message of the shared window class and filters the
// message loop.
//
// The program has one, a static object beside the entry point, built before wWinMain
// (it loads the configuration) and destroyed after it. It is the composition root: the
// toolkit, the page windows and the statistics get what they need from it as values and
// small interfaces (FormEnvironment, ILoginHost, StatisticsContext, IBeaconQueue) and
// never reach for it themselves. App() reaches the newest instance alive for the window
// procedure, so tests build their own objects against a clean settings file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/message_loop.h"
#include "app/run_mode.h"
#include "net/statistics.h"
#include "ui/form_back.h"
#include "ui/kt_form.h"
#include "web/form_login.h"
#include "web/login_host.h"

class CFormGame;
class CFormQQLogin;
class CWorkerPool;
struct DownloadTask;

class CGlobalModule : public CMessageFilter, public ILoginHost, public IBeaconQueue {
 public:
  // commandLine decides the run mode and whether this process counts as a run.
  explicit CGlobalModule(std::wstring commandLine = GetCommandLineW());
  virtual ~CGlobalModule();
  CGlobalModule(const CGlobalModule&) = delete;
  CGlobalModule& operator=(const CGlobalModule&) = delete;

  // Lets only the form in front pre-translate a message (the OAuth popup, the visible
  // login window or the game window). Main thread.
  BOOL PreTranslateMessage(MSG* msg) override;
  // Frees the retired forms; the loop calls it between messages.
  void AfterMessage() override { FreeRetiredForms(); }

  // Takes a form the program made with new and has forgotten (its window is being or has
  // been destroyed). It is freed between two messages of the loop, never while one of its
  // own handlers may still be on the stack. Main thread.
  void Retire(CKTForm* form);
  // Frees every retired form now. Only where no window procedure runs: the loop's top,
  // the destructor, a test's own pump.
  void FreeRetiredForms();

  // The procedure behind the shared window class: hands each message to the form that
  // owns the window, else DefWindowProcW. Main thread.
  LRESULT RouteWindowMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam);

  // Chooses the run mode, prepares its windows, runs the loop; the loop's exit code, or
  // kExitNoWindow when a window the mode needs could not be made.
  int Run();

  // What the forms are made with: the instance, class and title the entry point filled
  // in, and the TopMost setting.
  FormEnvironment Environment() const;

  // Configuration and counters, all over the settings file.
  void LoadConfiguration();
  // Counts this process once (not in set-up or show-desktop mode) and returns the count.
  int GetRunCount();
  bool IsActiveCounted();
  void SetActiveCounted();
  std::wstring GetLoginUrl() const override { return loginUrl; }
  std::wstring GetRefer() const { return referTag; }
  std::wstring GetUid() const { return uid; }
  std::wstring GetPayUrl() const override;
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
  bool QueueTempDownload(const std::wstring& url, int taskId,
                         const std::wstring& fileName) override;
  // The callback of every task queued here (user = the application object); acts on
  // event 3 only, on the worker thread: asks the main thread to offer the upgrade, hands
  // over to the upgrader, or ends a one-shot run. It never waits on a window.
  static int OnDownloadEvent(void* user, int taskId, int event, int result, intptr_t extra);
  // On the main thread, after a version file offered latestVersion: the offer, the
  // windows hidden, the upgrader download.
  void OfferUpgrade();

  // The login window's host.
  void SetUserName(const std::wstring& name) override { userName = name; }
  void SetServerId(const std::wstring& id) override { serverId = id; }
  // The active beacon (once per process) and its counter.
  void OnLoginDocumentComplete() override;
  void OnLoginPageShown() override { StartVersionCheck(); }

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
  // On the worker that completed the version file: the decision; an offer is handed to
  // the main thread.
  void DecideUpgrade(const std::wstring& versionFile);
  // On the worker that completed the upgrader: the signature check and the start.
  void HandOverToUpgrader(const std::wstring& upgraderPath);
  void HideForUpgrade();
  // A failed upgrade gives the player the windows back as they were before. Callable
  // from a worker: the windows are shown asynchronously.
  void ShowAfterFailedUpgrade();

  std::wstring m_commandLine;
  CGlobalModule* m_previous;
  std::vector<std::unique_ptr<CKTForm>> m_retired;
  bool m_bVersionCheckQueued = false;  // main thread only
  // Written on the main thread before the upgrader download is queued, read by the
  // worker that completes it (the pool's queue lock orders the two).
  bool m_bLoginShownBeforeUpgrade = false;
  bool m_bBackShownBeforeUpgrade = false;
};

// The exit code of a run that could not make a window it needs.
inline constexpr int kExitNoWindow = 2;

// The newest application object alive, or null when there is none.
CGlobalModule* App();

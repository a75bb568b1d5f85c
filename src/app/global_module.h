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

#include <string>

#include "app/message_loop.h"
#include "app/run_mode.h"
#include "ui/form_back.h"
#include "web/form_login.h"

class CFormGame;
class CFormQQLogin;
class CWorkerPool;

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

  HINSTANCE instance = nullptr;
  WCHAR windowTitle[100] = {};
  WCHAR windowClassName[100] = {};
  CFormBack formBack;
  CFormLogin formLogin;
  CFormQQLogin* formOAuth = nullptr;
  CFormGame* formGame = nullptr;
  CWorkerPool* workerPool = nullptr;
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

  std::wstring m_commandLine;
  CGlobalModule* m_previous;
};

// The newest application object alive.
CGlobalModule& App();

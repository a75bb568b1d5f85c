#include "app/global_module.h"

#include <new>

#include "app/desktop.h"
#include "app/messages.h"
#include "app/strings.h"
#include "net/worker_pool.h"

namespace {
CGlobalModule* g_current = nullptr;
}

CGlobalModule& App() { return *g_current; }

CGlobalModule::CGlobalModule(std::wstring commandLine)
    : m_commandLine(std::move(commandLine)), m_previous(g_current) {
  g_current = this;
  LoadConfiguration();
  // No thread yet: the workers start when the first task is queued.
  workerPool = new (std::nothrow) CWorkerPool;
}

CGlobalModule::~CGlobalModule() {
  if (workerPool != nullptr) {
    workerPool->StopAll();
    delete workerPool;
    workerPool = nullptr;
  }
  g_current = m_previous;
}

BOOL CGlobalModule::PreTranslateMessage(MSG* msg) {
  const HWND foreground = GetForegroundWindow();
  const HWND login = formLogin.GetHwnd();
  if (login != nullptr && IsWindowVisible(login) && login == foreground &&
      formLogin.PreTranslateMessage(msg))
    return TRUE;
  return FALSE;
}

LRESULT CGlobalModule::RouteWindowMessage(UINT message, HWND window, WPARAM wParam,
                                          LPARAM lParam) {
  // While a form's window is being created its handle is not stored yet, so the
  // creation messages fall through to DefWindowProcW.
  if (window == formLogin.GetHwnd()) return formLogin.WindowProc(window, message, wParam, lParam);
  if (window == formBack.GetHwnd()) return formBack.WindowProc(window, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

bool CGlobalModule::QueueOneShotBeacon(RunMode mode) {
  return mode == RunMode::Setup ? statistics.SendInstallBeacon()
                                : statistics.SendUninstallBeacon();
}

int CGlobalModule::Run() {
  const RunMode mode = RunModeFromCommandLine(m_commandLine);
  switch (mode) {
    case RunMode::Setup:
    case RunMode::Uninstall: {
      // The window comes first: a beacon that fails at once must find it to close.
      if (!formLogin.CreateBare()) return 0;
      // Installers wait for this process: with no beacon under way nothing would ever
      // close the window, so the run ends now.
      if (!QueueOneShotBeacon(mode)) PostMessageW(formLogin.GetHwnd(), WM_OVRIN_QUIT_NOW, 0, 0);
      return RunMessageLoop();
    }
    case RunMode::ShowDesktop:
      formLogin.CreateBare();
      ShowDesktop();
      PostMessageW(formLogin.GetHwnd(), WM_OVRIN_QUIT_NOW, 0, 0);
      return RunMessageLoop();
    case RunMode::Normal:
      SetRect(&formBack.m_rcControl, 0, 0, 1100, 800);
      formBack.Initialize();
      ShowOffscreen(formBack);
      SetRect(&formLogin.m_rcControl, 0, 0, 1100, 800);
      formLogin.Initialize();
      ShowOffscreen(formLogin);
      LaunchCompanion();
      return RunMessageLoop();
  }
  return 0;
}

int CGlobalModule::RunMessageLoop() {
  CMessageLoop loop;
  loop.AddMessageFilter(this);
  const int result = loop.Run();
  loop.RemoveMessageFilter(this);
  return result;
}

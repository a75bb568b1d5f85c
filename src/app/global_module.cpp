#include "app/global_module.h"

#include <new>

#include "app/desktop.h"
#include "app/entry.h"
#include "base/messages.h"
#include "base/strings.h"
#include "net/worker_pool.h"

namespace {

CGlobalModule* g_current = nullptr;

// A window the run mode needs could not be made: the run ends at once, saying why.
int FailStartup(const wchar_t* what) {
  return ReportStartupFailure(what, HRESULT_FROM_WIN32(GetLastError()));
}

}  // namespace

CGlobalModule* App() { return g_current; }

CGlobalModule::CGlobalModule(std::wstring commandLine)
    : m_commandLine(std::move(commandLine)), m_previous(g_current) {
  g_current = this;
  LoadConfiguration();
  statistics.Attach(StatisticsContext{referTag, uid, Contains(m_commandLine, kAutorunSwitch)},
                    this);
  // No thread yet: the workers start when the first task is queued.
  workerPool = new (std::nothrow) CWorkerPool;
}

CGlobalModule::~CGlobalModule() {
  FreeRetiredForms();
  if (workerPool != nullptr) {
    workerPool->StopAll();
    delete workerPool;
    workerPool = nullptr;
  }
  g_current = m_previous;
}

void CGlobalModule::Retire(CKTForm* form) {
  if (form != nullptr) m_retired.emplace_back(form);
}

void CGlobalModule::FreeRetiredForms() {
  // Moved out first: a form's destructor must not find itself in the list again.
  std::vector<std::unique_ptr<CKTForm>> retired;
  retired.swap(m_retired);
}

FormEnvironment CGlobalModule::Environment() const {
  FormEnvironment environment;
  environment.instance = instance;
  environment.className = windowClassName;
  environment.windowTitle = windowTitle;
  environment.topMost = topMost == 1;
  return environment;
}

BOOL CGlobalModule::PreTranslateMessage(MSG* msg) {
  const HWND foreground = GetForegroundWindow();
  const HWND login = formLogin.GetHwnd();
  if (login != nullptr && IsWindowVisible(login) && login == foreground &&
      formLogin.PreTranslateMessage(msg))
    return TRUE;
  return FALSE;
}

LRESULT CGlobalModule::RouteWindowMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam) {
  if (message == WM_OVRIN_OFFER_UPGRADE) {
    OfferUpgrade();
    return 0;
  }
  // While a form's window is being created its handle is not stored yet, so the
  // creation messages fall through to DefWindowProcW.
  if (window == formLogin.GetHwnd()) return formLogin.WindowProc(window, message, wParam, lParam);
  if (window == formBack.GetHwnd()) return formBack.WindowProc(window, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

void CGlobalModule::OnLoginDocumentComplete() {
  statistics.SendActiveBeacon();  // once per process
  if (!IsActiveCounted()) SetActiveCounted();
}

bool CGlobalModule::QueueOneShotBeacon(RunMode mode) {
  return mode == RunMode::Setup ? statistics.SendInstallBeacon() : statistics.SendUninstallBeacon();
}

int CGlobalModule::Run() {
  const FormEnvironment environment = Environment();
  const RunMode mode = RunModeFromCommandLine(m_commandLine);
  switch (mode) {
    case RunMode::Setup:
    case RunMode::Uninstall: {
      // The window comes first: a beacon that fails at once must find it to close.
      if (!formLogin.CreateBare(environment)) return FailStartup(L"no window for the report");
      // Installers wait for this process: with no beacon under way nothing would ever
      // close the window, so the run ends now.
      if (!QueueOneShotBeacon(mode)) PostMessageW(formLogin.GetHwnd(), WM_OVRIN_QUIT_NOW, 0, 0);
      return RunMessageLoop();
    }
    case RunMode::ShowDesktop:
      if (!formLogin.CreateBare(environment)) return FailStartup(L"no window to close");
      ShowDesktop();
      PostMessageW(formLogin.GetHwnd(), WM_OVRIN_QUIT_NOW, 0, 0);
      return RunMessageLoop();
    case RunMode::Normal:
      SetRect(&formBack.m_rcControl, 0, 0, 1100, 800);
      if (!formBack.Initialize(environment)) return FailStartup(L"no background window");
      ShowOffscreen(formBack, environment.topMost);
      SetRect(&formLogin.m_rcControl, 0, 0, 1100, 800);
      if (!formLogin.Initialize(environment, formBack, *this))
        return FailStartup(L"no login window");
      ShowOffscreen(formLogin, environment.topMost);
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

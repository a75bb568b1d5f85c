// The upgrade check, the hand-over to the upgrader and the completion of every download
// the application object queues. Completions run on a pool worker, which never waits on
// a window of the main thread: the main thread may itself be waiting for the workers to
// stop at exit. So the worker only decides; the offer (a message box owned by the login
// window), the hiding and the next download happen on the main thread, asked for with a
// posted message, and a worker brings windows back with ShowWindowAsync.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "app/global_module.h"
#include "app/probes.h"
#include "app/upgrade_rules.h"
#include "app/upgrader_trust.h"
#include "base/deploy_config.h"
#include "base/files.h"
#include "base/handles.h"
#include "base/messages.h"
#include "base/task_ids.h"
#include "net/worker_pool.h"

namespace {

#if !defined(_WIN64)
static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "the shell's structure of the 32-bit product");
#endif

// Starts the verified upgrader without waiting for it. With a known token elevation
// type it is started directly and hidden; otherwise the shell is asked to elevate it.
bool StartUpgraderProcess(const std::wstring& path) {
  if (GetTokenElevationType() != 0) {
    // CreateProcessW may write into the command line, so it lives in a buffer; the
    // leading space keeps the switches apart from the (absent) program name.
    wchar_t commandLine[64] = {};
    wcscpy(commandLine, L" /S /KTUPGRADE");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(path.c_str(), commandLine, nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
      return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.lpVerb = L"runas";
  info.lpFile = path.c_str();
  info.lpParameters = L"/S /KTUPGRADE";
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace

bool CGlobalModule::QueueDownload(const DownloadTask& task) {
  if (workerPool == nullptr) return false;
  if (!workerPool->IsStarted()) workerPool->Start();
  return workerPool->Enqueue(task);
}

DownloadTask CGlobalModule::MakeTask(const std::wstring& url, int taskId,
                                     const std::wstring& filePath) {
  DownloadTask task;
  task.url = url;
  task.filePath = filePath;
  task.retries = 0;
  task.callback = &CGlobalModule::OnDownloadEvent;
  task.userData = this;
  task.taskId = taskId;
  task.deleteOnFailure = 1;
  return task;
}

void CGlobalModule::StartVersionCheck() {
  if (m_bVersionCheckQueued || workerPool == nullptr) return;
  // Without a data folder there is no place to keep the file: no check this run.
  const std::wstring folder = GetUpgradeFolder();
  if (folder.empty()) return;
  DownloadTask task = MakeTask(versionCheckUrl, kTaskVersionFile, folder);
  task.nameAfterUrl = 1;
  // Noted once queued: a failed check waits for the next start of the program.
  if (QueueDownload(task)) m_bVersionCheckQueued = true;
}

bool CGlobalModule::StartUpgraderDownload() {
  const std::wstring path = GetUpgraderPath();
  return !path.empty() && QueueDownload(MakeTask(upgraderUrl, kTaskUpgrader, path));
}

bool CGlobalModule::QueueTempDownload(const std::wstring& url, int taskId,
                                      const std::wstring& fileName) {
  const std::wstring folder = GetTempFolder();
  if (folder.empty()) return false;
  DownloadTask task = MakeTask(url, taskId, folder + fileName);
  task.nameAfterUrl = fileName.empty() ? 1 : 0;
  return QueueDownload(task);
}

int CGlobalModule::OnDownloadEvent(void* user, int taskId, int event, int result, intptr_t extra) {
  if (event != DOWNLOAD_EVENT_FINISHED || user == nullptr) return 0;
  CGlobalModule& app = *static_cast<CGlobalModule*>(user);
  // A one-shot run ends whatever happens here: its installer waits for this process.
  if (taskId == kTaskInstallBeacon || taskId == kTaskUninstallBeacon) {
    PostMessageW(app.formLogin.GetHwnd(), WM_OVRIN_QUIT_NOW, 0, 0);
    return 0;
  }
  const DownloadTask* task = reinterpret_cast<const DownloadTask*>(extra);
  try {
    if (taskId == kTaskVersionFile && result == DOWNLOAD_OK && task != nullptr)
      app.DecideUpgrade(task->filePath);
    else if (taskId == kTaskUpgrader && result == DOWNLOAD_OK && task != nullptr)
      app.HandOverToUpgrader(task->filePath);
    else if (taskId == kTaskUpgrader)
      app.ShowAfterFailedUpgrade();
  } catch (...) {
    // Nothing may leave the worker's thread (out of memory, say): the check is dropped
    // and the player goes on.
    if (taskId == kTaskUpgrader) app.ShowAfterFailedUpgrade();
  }
  return 0;
}

void CGlobalModule::DecideUpgrade(const std::wstring& versionFile) {
  const std::wstring current = ReadIniString(kVersionSection, kCurrentVersionKey, L"", versionFile);
  const std::wstring range = ReadIniString(kVersionSection, kUpgradeRangeKey, L"", versionFile);
  const std::wstring last =
      ReadIniString(kVersionSection, kLastUpgradeKey, L"", GetLastUpgradeIniPath());
  latestVersion = current;
  if (!ShouldOfferUpgrade(current, range, last)) return;
  // The post orders the write of latestVersion before the main thread reads it.
  PostMessageW(formLogin.GetHwnd(), WM_OVRIN_OFFER_UPGRADE, 0, 0);
}

void CGlobalModule::OfferUpgrade() {
  // OK is the only answer: the box only tells the player what comes.
  MessageBoxW(formLogin.GetHwnd(), UpgradeOfferText(latestVersion).c_str(), kUpgradeCaption, MB_OK);
  HideForUpgrade();
  if (!StartUpgraderDownload()) ShowAfterFailedUpgrade();
}

void CGlobalModule::HandOverToUpgrader(const std::wstring& upgraderPath) {
  // Held open without write sharing from the check until the process has started, so
  // the file that starts is the file that was checked.
  CScopedHandle file(CreateFileW(upgraderPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  const bool trusted =
      file.IsValid() &&
      VerifyUpgraderSignature(upgraderPath, file.Get(), deploy::kUpgraderSigner) == ERROR_SUCCESS;
  if (!trusted) {
    file.Reset();
    DeleteFileW(upgraderPath.c_str());
    ShowAfterFailedUpgrade();
    return;
  }
  const bool started = StartUpgraderProcess(upgraderPath);
  file.Reset();
  if (!started) {
    ShowAfterFailedUpgrade();
    return;
  }
  WriteIniString(kVersionSection, kLastUpgradeKey, latestVersion, GetLastUpgradeIniPath());
  PostMessageW(formLogin.GetHwnd(), WM_OVRIN_QUIT_NOW, 0, 0);
}

void CGlobalModule::HideForUpgrade() {
  m_bLoginShownBeforeUpgrade = IsWindowVisible(formLogin.GetHwnd()) != FALSE;
  m_bBackShownBeforeUpgrade = IsWindowVisible(formBack.GetHwnd()) != FALSE;
  ShowWindow(formLogin.GetHwnd(), SW_HIDE);
  ShowWindow(formBack.GetHwnd(), SW_HIDE);
}

void CGlobalModule::ShowAfterFailedUpgrade() {
  // Shown without activation: a worker cannot take the foreground from the player.
  // Asynchronously, so that a worker never waits for the main thread.
  if (m_bBackShownBeforeUpgrade) ShowWindowAsync(formBack.GetHwnd(), SW_SHOWNA);
  if (m_bLoginShownBeforeUpgrade) ShowWindowAsync(formLogin.GetHwnd(), SW_SHOWNA);
}

#include "net/statistics.h"

#include <ctime>

#include "app/files.h"
#include "app/global_module.h"
#include "app/run_mode.h"
#include "app/strings.h"
#include "app/task_ids.h"
#include "deploy_config.h"
#include "net/cafe_detect.h"
#include "net/machine_id.h"

namespace {

constexpr wchar_t kInstallSection[] = L"Install";
constexpr wchar_t kTimeFormat[] = L"%Y-%m-%d %H:%M:%S";

}  // namespace

void CStatistics::Initialise() {
  if (m_bInitialised) return;
  m_bInitialised = true;
  // When the settings file cannot be written the values made here still go out with
  // this process's beacons; the next run makes new ones.
  m_strInstallId = ReadIniString(kInstallSection, L"GUID", L"", L"");
  if (m_strInstallId.empty()) {
    m_strInstallId = RemoveAll(NewGuidString(), L"-");
    if (!m_strInstallId.empty()) WriteIniString(kInstallSection, L"GUID", m_strInstallId, L"");
  }
  m_strInstallTime = ReadIniString(kInstallSection, L"InstallTime", L"", L"");
  if (m_strInstallTime.empty()) {
    m_strInstallTime = FormatTime(kTimeFormat, std::time(nullptr));
    WriteIniString(kInstallSection, L"InstallTime", m_strInstallTime, L"");
  }
  m_nInstallType = ReadIniInt(kInstallSection, L"InstallType", 0, L"");
  m_bAutorun = Contains(App().CommandLine(), kAutorunSwitch);
  // Code 0 is a trace too: only -1 means no cafe.
  m_bInternetCafe = DetectInternetCafe() >= 0;
  if (m_strMachineId.empty()) m_strMachineId = ComputeMachineId();
}

BeaconFields CStatistics::Fields() const {
  BeaconFields fields;
  fields.tag = m_strTag;
  fields.refer = App().GetRefer();
  fields.uid = App().GetUid();
  fields.installId = m_strInstallId;
  fields.machineId = m_strMachineId;
  fields.internetCafe = m_bInternetCafe;
  fields.installTime = m_strInstallTime;
  return fields;
}

bool CStatistics::SendInstallBeacon() {
  Initialise();
  const int at = m_nInstallType == 1 ? kAtInstallTypeOne : kAtInstall;
  return App().QueueTempDownload(BeaconUrl(deploy::kStatsHost, Fields(), at), kTaskInstallBeacon,
                                 kInstallBeaconFile);
}

bool CStatistics::SendActiveBeacon() {
  if (m_bActiveSent) return false;
  Initialise();
  m_bActiveSent = true;
  const int at = m_bAutorun ? kAtActiveAutorun : kAtActive;
  return App().QueueTempDownload(BeaconUrl(deploy::kStatsHost, Fields(), at), kTaskActiveBeacon,
                                 kActiveBeaconFile);
}

bool CStatistics::SendUninstallBeacon() {
  Initialise();
  const std::wstring today = FormatTime(L"%Y-%m-%d", std::time(nullptr));
  return App().QueueTempDownload(UninstallBeaconUrl(deploy::kStatsHost, Fields(), today),
                                 kTaskUninstallBeacon, kUninstallBeaconFile);
}

#include "net/statistics.h"

#include <ctime>

#include "base/deploy_config.h"
#include "base/files.h"
#include "base/settings.h"
#include "base/strings.h"
#include "base/task_ids.h"
#include "net/cafe_detect.h"
#include "net/machine_id.h"

void CStatistics::Initialise() {
  if (m_bInitialised) return;
  m_bInitialised = true;
  // When the settings file cannot be written the values made here still go out with
  // this process's beacons; the next run makes new ones.
  m_strInstallId = ReadIniString(settings::kInstall, settings::kGuid, L"", L"");
  if (m_strInstallId.empty()) {
    m_strInstallId = RemoveAll(NewGuidString(), L"-");
    if (!m_strInstallId.empty())
      WriteIniString(settings::kInstall, settings::kGuid, m_strInstallId, L"");
  }
  m_strInstallTime = settings::ReadOrRecordInstallTime();
  m_nInstallType = ReadIniInt(settings::kInstall, settings::kInstallType, 0, L"");
  m_bAutorun = m_context.autorun;
  // Code 0 is a trace too: only -1 means no cafe.
  m_bInternetCafe = DetectInternetCafe() >= 0;
  if (m_strMachineId.empty()) m_strMachineId = ComputeMachineId();
}

BeaconFields CStatistics::Fields() const {
  BeaconFields fields;
  fields.tag = m_strTag;
  fields.refer = m_context.refer;
  fields.uid = m_context.uid;
  fields.installId = m_strInstallId;
  fields.machineId = m_strMachineId;
  fields.internetCafe = m_bInternetCafe;
  fields.installTime = m_strInstallTime;
  return fields;
}

bool CStatistics::Queue(const std::wstring& url, int taskId, const wchar_t* fileName) {
  return m_pQueue != nullptr && m_pQueue->QueueTempDownload(url, taskId, fileName);
}

bool CStatistics::SendInstallBeacon() {
  Initialise();
  const int at = m_nInstallType == 1 ? kAtInstallTypeOne : kAtInstall;
  return Queue(BeaconUrl(deploy::kStatsHost, Fields(), at), kTaskInstallBeacon, kInstallBeaconFile);
}

bool CStatistics::SendActiveBeacon() {
  if (m_bActiveSent) return false;
  Initialise();
  m_bActiveSent = true;
  const int at = m_bAutorun ? kAtActiveAutorun : kAtActive;
  return Queue(BeaconUrl(deploy::kStatsHost, Fields(), at), kTaskActiveBeacon, kActiveBeaconFile);
}

bool CStatistics::SendUninstallBeacon() {
  Initialise();
  const std::wstring today = FormatTime(L"%Y-%m-%d", std::time(nullptr));
  return Queue(UninstallBeaconUrl(deploy::kStatsHost, Fields(), today), kTaskUninstallBeacon,
               kUninstallBeaconFile);
}

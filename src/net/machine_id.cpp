#include <winsock2.h>

#include "net/machine_id.h"

#include <iphlpapi.h>
#include <cpuid.h>
#include <ntddscsi.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>
#include <string>

#include "base/files.h"
#include "base/handles.h"
#include "base/strings.h"
#include "net/disk_serial_decode.h"
#include "net/md5.h"

namespace {

// Control codes, spelled out: the identifier depends on these exact requests.
constexpr DWORD kSmartGetVersion = 0x00074080;
constexpr DWORD kSmartRcvDriveData = 0x0007C088;
constexpr DWORD kScsiMiniport = 0x0004D008;
constexpr DWORD kScsiMiniportIdentify = 0x001B0501;
constexpr DWORD kStorageQueryProperty = 0x002D1400;
constexpr DWORD kStorageGetMediaSerialNumber = 0x002D0C10;

constexpr int kDriveCount = 16;
constexpr int kScsiTargets = 2;
constexpr BYTE kIdentifyDevice = 0xEC;
constexpr BYTE kIdentifyPacketDevice = 0xA1;
constexpr DWORD kSmartInputBytes = sizeof(SENDCMDINPARAMS) - 1;                     // 32
constexpr DWORD kSmartOutputBytes = sizeof(SENDCMDOUTPARAMS) - 1 + 512;             // 528
constexpr DWORD kScsiInputBytes = sizeof(SRB_IO_CONTROL) + kSmartInputBytes;        // 60
constexpr DWORD kScsiBufferBytes = sizeof(SRB_IO_CONTROL) + kSmartOutputBytes + 1;  // 557
constexpr DWORD kStorageAnswerBytes = 8192;
// One adapter record as the 32-bit system library lays it out (64-bit lease times);
// mingw's own declaration of the record is 8 bytes shorter on i686.
constexpr ULONG kFirstAdapterBufferBytes = 648;

static_assert(kSmartInputBytes == 32 && kSmartOutputBytes == 528, "SMART layouts");
static_assert(kScsiInputBytes == 60 && kScsiBufferBytes == 557, "SCSI miniport layout");
static_assert(sizeof(GETVERSIONINPARAMS) == 24, "SMART version layout");
static_assert(sizeof(STORAGE_PROPERTY_QUERY) == 12, "storage query layout");

const wchar_t kNetworkClassKey[] =
    L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

// The processor part survives for the whole process: once the first probe succeeded,
// later builds never bind the process again.
struct CpuIdCache {
  bool filled = false;
  wchar_t text[kCpuIdChars] = {};
};
CpuIdCache g_cpuIdCache;

CScopedHandle OpenDevice(const wchar_t* format, int number, DWORD access) {
  wchar_t name[32] = {};
  swprintf(name, 32, format, number);
  return CScopedHandle(CreateFileW(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
}

bool Control(const CScopedHandle& device, DWORD code, void* in, DWORD inBytes, void* out,
             DWORD outBytes) {
  DWORD returned = 0;
  return DeviceIoControl(device.Get(), code, in, inBytes, out, outBytes, &returned, nullptr) !=
         FALSE;
}

// SMART identify through the disk driver; needs read and write access to the drive,
// which only an administrator has.
void RunAdministratorMethod(CHardwareProbe& probe) {
  for (int drive = 0; drive < kDriveCount; ++drive) {
    const CScopedHandle device =
        OpenDevice(L"\\\\.\\PhysicalDrive%d", drive, GENERIC_READ | GENERIC_WRITE);
    if (!device) continue;
    GETVERSIONINPARAMS version = {};
    if (!Control(device, kSmartGetVersion, nullptr, 0, &version, sizeof version) ||
        version.bIDEDeviceMap == 0)
      continue;
    SENDCMDINPARAMS in = {};
    in.cBufferSize = 512;
    in.irDriveRegs.bSectorCountReg = 1;
    in.irDriveRegs.bDriveHeadReg = static_cast<BYTE>(0xA0 | ((drive & 1) << 4));
    // Bit 4 of the shifted map marks an ATAPI device, which answers only the packet form.
    const bool atapi = ((version.bIDEDeviceMap >> drive) & 0x10) != 0;
    in.irDriveRegs.bCommandReg = atapi ? kIdentifyPacketDevice : kIdentifyDevice;
    in.bDriveNumber = static_cast<BYTE>(drive);
    unsigned char out[kSmartOutputBytes] = {};
    if (Control(device, kSmartRcvDriveData, &in, kSmartInputBytes, out, sizeof out))
      probe.AddSerial(
          SerialFromIdentifyData(out + sizeof(SENDCMDOUTPARAMS) - 1, kIdentifyDataBytes));
  }
}

// Identify through the SCSI port driver's miniport interface, which also reaches disks
// behind SCSI and SATA controllers.
void RunScsiMethod(CHardwareProbe& probe) {
  for (int port = 0; port < kDriveCount; ++port) {
    const CScopedHandle device = OpenDevice(L"\\\\.\\Scsi%d:", port, GENERIC_READ | GENERIC_WRITE);
    if (!device) continue;
    for (int target = 0; target < kScsiTargets; ++target) {
      unsigned char buffer[kScsiBufferBytes] = {};
      SRB_IO_CONTROL header = {};
      header.HeaderLength = sizeof(SRB_IO_CONTROL);
      std::memcpy(header.Signature, "SCSIDISK", 8);
      header.Timeout = 10000;
      header.ControlCode = kScsiMiniportIdentify;
      header.Length = kSmartOutputBytes + 1;
      std::memcpy(buffer, &header, sizeof header);
      SENDCMDINPARAMS in = {};
      in.irDriveRegs.bCommandReg = kIdentifyDevice;
      in.bDriveNumber = static_cast<BYTE>(target);
      std::memcpy(buffer + sizeof header, &in, kSmartInputBytes);
      if (Control(device, kScsiMiniport, buffer, kScsiInputBytes, buffer, sizeof buffer)) {
        std::wstring serial;
        if (SerialFromScsiIdentifyReply(buffer, sizeof buffer, serial)) probe.AddSerial(serial);
      }
    }
  }
}

// The storage driver answers a device open with no access rights at all, so this
// method works for every user.
void RunNoRightsMethod(CHardwareProbe& probe) {
  std::unique_ptr<unsigned char[]> answer(new (std::nothrow) unsigned char[kStorageAnswerBytes]);
  if (!answer) return;
  for (int drive = 0; drive < kDriveCount; ++drive) {
    const CScopedHandle device = OpenDevice(L"\\\\.\\PhysicalDrive%d", drive, 0);
    if (!device) continue;
    bool added = false;
    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::memset(answer.get(), 0, kStorageAnswerBytes);
    if (Control(device, kStorageQueryProperty, &query, sizeof query, answer.get(),
                kStorageAnswerBytes)) {
      const std::wstring serial = SerialFromStorageDescriptor(answer.get(), kStorageAnswerBytes);
      if (IsUsableSerial(serial)) added = probe.AddSerial(serial);
    }
    if (added) continue;
    std::memset(answer.get(), 0, kStorageAnswerBytes);
    if (Control(device, kStorageGetMediaSerialNumber, nullptr, 0, answer.get(),
                kStorageAnswerBytes)) {
      const std::wstring serial = SerialFromMediaSerialData(answer.get(), kStorageAnswerBytes);
      if (IsUsableSerial(serial)) probe.AddSerial(serial);
    }
  }
}

void Append(wchar_t (&buffer)[kHardwareStringChars], const wchar_t* part) {
  const size_t used = std::wcslen(buffer);
  std::wcsncpy(buffer + used, part, kHardwareStringChars - 1 - used);
  buffer[kHardwareStringChars - 1] = L'\0';
}

}  // namespace

CHardwareProbe::CHardwareProbe() : process(GetCurrentProcess()) {}

bool CHardwareProbe::AddSerial(const std::wstring& serial) {
  if (serialCount >= kMaxDiskSerials) return false;
  std::wcsncpy(serials[serialCount], serial.c_str(), kDiskSerialChars - 1);
  serials[serialCount][kDiskSerialChars - 1] = L'\0';
  ++serialCount;
  return true;
}

std::wstring ComputeMachineId() {
  wchar_t hardware[kHardwareStringChars] = {};
  BuildHardwareString(hardware);
  std::string ansi;
  WideToAnsi(hardware, ansi);
  unsigned char digest[kMd5DigestBytes] = {};
  if (!ComputeMd5(ansi.data(), ansi.size(), digest)) return std::wstring();
  return BytesToHex(digest);
}

void BuildHardwareString(wchar_t (&buffer)[kHardwareStringChars]) {
  buffer[0] = L'\0';
  CHardwareProbe probe;
  wchar_t cpu[kCpuIdChars] = {};
  if (GetCpuIdString(probe, cpu)) Append(buffer, cpu);
  wchar_t disk[kDiskSerialChars] = {};
  if (GetDiskSerial(probe, disk)) Append(buffer, disk);
  wchar_t mac[kMacChars] = {};
  if (GetMacAddress(mac)) Append(buffer, mac);
}

bool GetCpuIdString(CHardwareProbe& probe, wchar_t (&buffer)[kCpuIdChars]) {
  buffer[0] = L'\0';
  if (g_cpuIdCache.filled) {
    std::wcscpy(buffer, g_cpuIdCache.text);
    return true;
  }
  if (!GetProcessAffinityMask(probe.process, &probe.processMask, &probe.systemMask)) return false;
  // A process kept off some processors was restricted on purpose; binding it elsewhere
  // would override that, so it gets no processor part.
  if (probe.processMask != probe.systemMask) return false;
  if (probe.trialMask > probe.processMask) {
    SetProcessAffinityMask(probe.process, probe.processMask);
    return false;
  }
  // CPUID answers for the processor the thread runs on; the signature must not depend
  // on where the scheduler happened to put us.
  if ((probe.trialMask & probe.processMask) != 0 &&
      SetProcessAffinityMask(probe.process, probe.trialMask))
    Sleep(0);
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  __cpuid(1, eax, ebx, ecx, edx);
  SetProcessAffinityMask(probe.process, probe.processMask);
  swprintf(buffer, kCpuIdChars, L"%08X-%08X-%08X-%08X", eax, ebx, ecx, edx);
  std::wcscpy(g_cpuIdCache.text, buffer);
  g_cpuIdCache.filled = true;
  return true;
}

bool GetDiskSerial(CHardwareProbe& probe, wchar_t (&buffer)[kDiskSerialChars]) {
  buffer[0] = L'\0';
  probe.serialCursor = 0;
  RunAdministratorMethod(probe);
  if (probe.serialCount == 0) RunScsiMethod(probe);
  if (probe.serialCount == 0) RunNoRightsMethod(probe);
  if (probe.serialCursor >= probe.serialCount) return false;
  std::wcscpy(buffer, probe.serials[probe.serialCursor]);
  ++probe.serialCursor;
  return true;
}

const IP_ADAPTER_INFO* ChooseMacAdapter(const IP_ADAPTER_INFO* list,
                                        bool (*isPhysical)(const IP_ADAPTER_INFO&)) {
  for (const IP_ADAPTER_INFO* adapter = list; adapter != nullptr; adapter = adapter->Next)
    if (isPhysical(*adapter)) return adapter;
  return list;
}

bool GetMacAddress(wchar_t (&buffer)[kMacChars]) {
  buffer[0] = L'\0';
  // Start with room for one adapter; IP Helper says how much a longer list needs.
  auto allocate = [](ULONG bytes) {
    const size_t count = (bytes + sizeof(IP_ADAPTER_INFO) - 1) / sizeof(IP_ADAPTER_INFO);
    return std::unique_ptr<IP_ADAPTER_INFO[]>(new (std::nothrow) IP_ADAPTER_INFO[count]());
  };
  ULONG size = kFirstAdapterBufferBytes;
  std::unique_ptr<IP_ADAPTER_INFO[]> adapters = allocate(size);
  if (!adapters) return false;
  DWORD result = GetAdaptersInfo(adapters.get(), &size);
  if (result == ERROR_BUFFER_OVERFLOW) {
    adapters = allocate(size);
    if (!adapters) return false;
    result = GetAdaptersInfo(adapters.get(), &size);
  }
  if (result != ERROR_SUCCESS) return false;
  const IP_ADAPTER_INFO* chosen = ChooseMacAdapter(adapters.get(), IsPhysicalEthernetAdapter);
  if (chosen == nullptr) return false;
  const BYTE* a = chosen->Address;
  swprintf(buffer, kMacChars, L"%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return true;
}

bool IsPhysicalEthernetAdapter(const IP_ADAPTER_INFO& adapter) {
  const size_t nameLength = strnlen(adapter.AdapterName, sizeof adapter.AdapterName);
  wchar_t name[sizeof adapter.AdapterName + 1] = {};
  MultiByteToWideChar(CP_ACP, 0, adapter.AdapterName, static_cast<int>(nameLength), name,
                      static_cast<int>(sizeof adapter.AdapterName));
  const std::wstring path = std::wstring(kNetworkClassKey) + name + L"\\Connection";
  CScopedRegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
    return false;
  // One spare character beyond the 1024 bytes keeps an unterminated value terminated.
  wchar_t value[512 + 1] = {};
  DWORD bytes = 1024;
  if (RegQueryValueExW(key.Get(), L"PnpInstanceID", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS)
    return false;
  // Pre-Vista systems told Ethernet apart by a "MediaSubType" value; a Windows 7 build
  // only ever sees the adapter type.
  return _wcsnicmp(value, L"pci", 3) == 0 && adapter.Type == MIB_IF_TYPE_ETHERNET;
}

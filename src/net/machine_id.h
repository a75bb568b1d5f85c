// The machine identifier the statistics beacons carry: the lower-case hex MD5 of a
// hardware string made of the processor's CPUID leaf 1 registers, the serial of the
// first disk that answers and the MAC address of the first physical Ethernet adapter,
// in that order with no separator. A probe that fails leaves its part out.
//
// Runs on the main thread. Side effects: during the processor probe the whole process
// is bound to its first processor for a moment; on systems outside the NT family the disk
// probe briefly runs the process at real-time priority. Nothing else is changed.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

constexpr size_t kHardwareStringChars = 128;  // at most 127 characters and a terminator
constexpr size_t kCpuIdChars = 36;            // "%08X-%08X-%08X-%08X": 35 characters
constexpr size_t kDiskSerialChars = 64;       // a serial is cut to 63 characters
constexpr size_t kMacChars = 16;              // 12 upper-case hex digits
constexpr int kMaxDiskSerials = 32;

// IP Helper's adapter record (iphlpapi.h), declared here so that this header does not
// impose winsock2.h on its includers.
struct _IP_ADAPTER_INFO;
using IP_ADAPTER_INFO = _IP_ADAPTER_INFO;

// The state of one hardware-string build; make a fresh one for each build.
struct CHardwareProbe {
  HANDLE process = nullptr;   // the current process (a pseudo handle)
  DWORD_PTR processMask = 0;  // affinity masks as read when the processor probe starts
  DWORD_PTR systemMask = 0;
  DWORD_PTR trialMask = 1;  // the single processor the CPUID instruction runs on
  int serialCount = 0;      // disk serials found so far, at most kMaxDiskSerials
  int serialCursor = 0;     // index of the next serial GetDiskSerial hands out
  wchar_t serials[kMaxDiskSerials][kDiskSerialChars] = {};

  CHardwareProbe();
  // Keeps serial (cut to 63 characters) unless 32 are held already; false then.
  bool AddSerial(const std::wstring& serial);
};

// The machine identifier: 32 lower-case hex digits. The same on every run while the
// first answering disk and the first physical Ethernet adapter stay the same; the digest
// of the empty string when every probe fails. Empty only when the system's MD5 provider
// is unusable. The statistics object calls it once per process and keeps the result.
std::wstring ComputeMachineId();

// Fills buffer with the hardware string from a fresh CHardwareProbe.
void BuildHardwareString(wchar_t (&buffer)[kHardwareStringChars]);

// The processor part, from CPUID leaf 1 run on the first processor. Fails (writes an
// empty text) when the process may not run on every processor. The first success is
// cached for the rest of the process, later calls touch the affinity no more. The
// process affinity is back to its previous mask whenever this returns.
bool GetCpuIdString(CHardwareProbe& probe, wchar_t (&buffer)[kCpuIdChars]);

// The next disk serial of probe (the first one for a fresh probe): the administrator,
// SCSI and no-rights methods in that order until one finds a serial. False when no
// serial is left.
bool GetDiskSerial(CHardwareProbe& probe, wchar_t (&buffer)[kDiskSerialChars]);

// The MAC address of the first physical Ethernet adapter, or else of the first adapter,
// as 12 upper-case hex digits. False when there is no adapter or IP Helper fails.
bool GetMacAddress(wchar_t (&buffer)[kMacChars]);

// Whether the adapter sits on the PCI bus (its network Connection key's "PnpInstanceID"
// starts with "pci", any case) and is of the Ethernet type.
bool IsPhysicalEthernetAdapter(const IP_ADAPTER_INFO& adapter);

// The adapter GetMacAddress takes from a list: the first one isPhysical accepts, else
// the first of the list; null for an empty list.
const IP_ADAPTER_INFO* ChooseMacAdapter(const IP_ADAPTER_INFO* list,
                                        bool (*isPhysical)(const IP_ADAPTER_INFO&));

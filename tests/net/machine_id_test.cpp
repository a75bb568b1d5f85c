#include <winsock2.h>

#include "net/machine_id.h"

#include <gtest/gtest.h>
#include <iphlpapi.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/handles.h"
#include "base/strings.h"
#include "net/md5.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

const wchar_t kReportVariable[] = L"OVRIN_PROBE_REPORT";
const wchar_t kNetworkClass[] =
    L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

bool IsUpperHex(const std::wstring& text) {
  for (const wchar_t c : text)
    if (!std::iswdigit(c) && !(c >= L'A' && c <= L'F')) return false;
  return true;
}

struct Parts {
  std::wstring cpu, disk, mac;
};

Parts ProbeParts() {
  CHardwareProbe probe;
  Parts parts;
  wchar_t cpu[kCpuIdChars] = {};
  if (GetCpuIdString(probe, cpu)) parts.cpu = cpu;
  wchar_t disk[kDiskSerialChars] = {};
  if (GetDiskSerial(probe, disk)) parts.disk = disk;
  wchar_t mac[kMacChars] = {};
  if (GetMacAddress(mac)) parts.mac = mac;
  return parts;
}

std::wstring Md5Hex(const std::wstring& text) {
  std::string ansi;
  WideToAnsi(text.c_str(), ansi);
  unsigned char digest[kMd5DigestBytes] = {};
  EXPECT_TRUE(ComputeMd5(ansi.data(), ansi.size(), digest));
  return BytesToHex(digest);
}

DWORD_PTR ProcessMask() {
  DWORD_PTR process = 0, system = 0;
  GetProcessAffinityMask(GetCurrentProcess(), &process, &system);
  return process;
}

std::vector<unsigned char> AdapterList() {
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  std::vector<unsigned char> buffer(size + sizeof(IP_ADAPTER_INFO));
  size = static_cast<ULONG>(buffer.size());
  if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) != NO_ERROR)
    buffer.clear();
  return buffer;
}

std::wstring MacOf(const IP_ADAPTER_INFO& adapter) {
  wchar_t text[16] = {};
  const BYTE* a = adapter.Address;
  swprintf(text, 16, L"%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

// A network Connection key for an adapter name that has none, removed again at the end
// of the test. An adapter key the prefix already holds is never touched.
class CConnectionKey {
 public:
  CConnectionKey(const std::string& adapterName, const wchar_t* pnpId)
      : m_strAdapter(std::wstring(kNetworkClass) +
                     std::wstring(adapterName.begin(), adapterName.end())) {
    CScopedRegKey existing;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_strAdapter.c_str(), 0, KEY_READ, existing.Put()) ==
        ERROR_SUCCESS) {
      ADD_FAILURE() << "the prefix already has a key for " << adapterName;
      return;
    }
    m_bOwned = true;
    CScopedRegKey key;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (m_strAdapter + L"\\Connection").c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key.Get(), L"PnpInstanceID", 0, REG_SZ, reinterpret_cast<const BYTE*>(pnpId),
                   static_cast<DWORD>((wcslen(pnpId) + 1) * sizeof(wchar_t)));
  }
  ~CConnectionKey() {
    if (m_bOwned) RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_strAdapter.c_str());
  }
  CConnectionKey(const CConnectionKey&) = delete;
  CConnectionKey& operator=(const CConnectionKey&) = delete;

 private:
  std::wstring m_strAdapter;  // the adapter's key below the network class
  bool m_bOwned = false;
};

IP_ADAPTER_INFO MakeAdapter(const char* name, UINT type) {
  IP_ADAPTER_INFO adapter = {};
  strcpy(adapter.AdapterName, name);
  adapter.Type = type;
  return adapter;
}

}  // namespace

TEST(MachineId, IsTheMd5OfTheProbedParts) {
  const std::wstring id = ComputeMachineId();
  ASSERT_EQ(id.size(), 32u);
  for (const wchar_t c : id) EXPECT_TRUE(std::iswdigit(c) || (c >= L'a' && c <= L'f')) << id;
  EXPECT_EQ(ComputeMachineId(), id);

  const Parts parts = ProbeParts();
  wchar_t hardware[kHardwareStringChars] = {};
  BuildHardwareString(hardware);
  EXPECT_EQ(std::wstring(hardware), parts.cpu + parts.disk + parts.mac);
  EXPECT_EQ(id, Md5Hex(parts.cpu + parts.disk + parts.mac));
}

TEST(MachineId, ProcessorPartIsCpuidLeafOneAndKeepsAffinity) {
  const DWORD_PTR before = ProcessMask();
  CHardwareProbe probe;
  wchar_t cpu[kCpuIdChars] = {};
  ASSERT_TRUE(GetCpuIdString(probe, cpu));
  const std::wstring text = cpu;
  ASSERT_EQ(text.size(), 35u) << text;
  for (const size_t dash : {8u, 17u, 26u}) EXPECT_EQ(text[dash], L'-') << text;
  EXPECT_TRUE(IsUpperHex(RemoveAll(text, L"-"))) << text;
  EXPECT_EQ(ProcessMask(), before);
}

// Run only as the child of the test below, in a process of its own so that the
// processor cache starts empty: binds itself to processors the report variable names.
TEST(MachineIdChild, DISABLED_ReportFromRestrictedProcess) {
  wchar_t report[MAX_PATH] = {};
  ASSERT_NE(GetEnvironmentVariableW(kReportVariable, report, MAX_PATH), 0u);
  const std::wstring file = report;
  const DWORD_PTR mask = static_cast<DWORD_PTR>(
      std::wcstoull(ReadIniString(L"Child", L"Mask", L"0", file).c_str(), nullptr, 10));
  ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), mask));
  wchar_t hardware[kHardwareStringChars] = {};
  BuildHardwareString(hardware);
  WriteIniString(L"Child", L"Hardware", std::wstring(L"[") + hardware + L"]", file);
  WriteIniString(L"Child", L"Id", ComputeMachineId(), file);
  WriteIniString(L"Child", L"MaskAfter", std::to_wstring(ProcessMask()), file);
}

TEST(MachineId, RestrictedProcessGetsNoProcessorPart) {
  DWORD_PTR process = 0, system = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process, &system));
  if ((system & (system - 1)) == 0) GTEST_SKIP() << "needs two processors";
  const DWORD_PTR lowest = system & (~system + 1);
  const DWORD_PTR restricted = system & ~lowest;  // every processor but the first

  const std::wstring folder = ts::FreshTempDir(L"affinity");
  const std::wstring report = folder + L"report.ini";
  WriteIniString(L"Child", L"Mask", std::to_wstring(restricted), report);
  SetEnvironmentVariableW(kReportVariable, report.c_str());
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  DWORD exitCode = 1;
  const bool ended =
      ts::RunProcess(L"\"" + std::wstring(self) +
                         L"\" --gtest_also_run_disabled_tests --gtest_filter=MachineIdChild.*",
                     60000, &exitCode);
  SetEnvironmentVariableW(kReportVariable, nullptr);
  ASSERT_TRUE(ended);
  EXPECT_EQ(exitCode, 0u);

  const Parts parts = ProbeParts();
  ASSERT_FALSE(parts.cpu.empty());
  EXPECT_EQ(ReadIniString(L"Child", L"Hardware", L"", report),
            L"[" + parts.disk + parts.mac + L"]");
  const std::wstring childId = ReadIniString(L"Child", L"Id", L"", report);
  EXPECT_EQ(childId, Md5Hex(parts.disk + parts.mac));
  EXPECT_NE(childId, ComputeMachineId());
  EXPECT_EQ(ReadIniString(L"Child", L"MaskAfter", L"", report), std::to_wstring(restricted));
  ts::RemoveTree(folder);
}

TEST(MacAddress, PrefersTheFirstPhysicalAdapter) {
  // Each fake adapter's ComboIndex tells the predicate whether it counts as physical.
  IP_ADAPTER_INFO list[3] = {};
  for (int i = 0; i < 2; ++i) list[i].Next = &list[i + 1];
  auto physical = [](const IP_ADAPTER_INFO& a) { return a.ComboIndex == 1; };
  EXPECT_EQ(ChooseMacAdapter(list, physical), &list[0]);  // none physical: the first
  list[1].ComboIndex = 1;
  list[2].ComboIndex = 1;
  EXPECT_EQ(ChooseMacAdapter(list, physical), &list[1]);
  EXPECT_EQ(ChooseMacAdapter(nullptr, physical), nullptr);
}

TEST(MacAddress, RealAdaptersAndTheConnectionKey) {
  std::vector<unsigned char> buffer = AdapterList();
  if (buffer.empty()) GTEST_SKIP() << "no network adapter in this prefix";
  const auto* first = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
  wchar_t mac[kMacChars] = {};
  ASSERT_TRUE(GetMacAddress(mac));
  const IP_ADAPTER_INFO* physical = ChooseMacAdapter(first, IsPhysicalEthernetAdapter);
  EXPECT_EQ(std::wstring(mac), MacOf(*physical));
  if (first->Next == nullptr) return;
  // Marking the last adapter as a PCI device makes it the one taken (Wine's adapters
  // are Ethernet).
  const IP_ADAPTER_INFO* last = first;
  while (last->Next != nullptr) last = last->Next;
  ASSERT_NE(MacOf(*last), MacOf(*physical)) << "adapters need distinct addresses";
  CConnectionKey key(last->AdapterName, L"PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086");
  ASSERT_TRUE(GetMacAddress(mac));
  EXPECT_EQ(std::wstring(mac), MacOf(*last));
}

TEST(MacAddress, PhysicalEthernetAdapter) {
  const char kName[] = "{5A1E0000-0000-4000-8000-0000000000A1}";
  struct Case {
    const wchar_t* pnpId;  // null: no Connection key at all
    UINT type;
    bool physical;
  } cases[] = {
      {L"PCI\\VEN_8086&DEV_100E", MIB_IF_TYPE_ETHERNET, true},
      {L"pci\\ven_10ec&dev_8168", MIB_IF_TYPE_ETHERNET, true},
      {L"PCI\\VEN_8086&DEV_24FD", 71 /* IEEE 802.11 */, false},
      {L"ROOT\\NET\\0000", MIB_IF_TYPE_ETHERNET, false},
      {L"USB\\VID_0BDA", MIB_IF_TYPE_ETHERNET, false},
      {L"PC", MIB_IF_TYPE_ETHERNET, false},
      {nullptr, MIB_IF_TYPE_ETHERNET, false},
  };
  for (const Case& c : cases) {
    const IP_ADAPTER_INFO adapter = MakeAdapter(kName, c.type);
    if (c.pnpId == nullptr) {
      EXPECT_FALSE(IsPhysicalEthernetAdapter(adapter));
      continue;
    }
    CConnectionKey key(kName, c.pnpId);
    EXPECT_EQ(IsPhysicalEthernetAdapter(adapter), c.physical) << c.pnpId;
  }
}

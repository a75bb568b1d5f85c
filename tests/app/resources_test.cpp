// The resources the shipped program carries, read from KeltoOvrin.exe as a data file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/resource_ids.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    program = LoadLibraryExW((ts::ExeDir() + L"..\\KeltoOvrin.exe").c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
  }
  void TearDown() override { FreeLibrary(program); }

  std::string Bytes(LPCWSTR type, LPCWSTR name, WORD language) {
    const HRSRC found = FindResourceExW(program, type, name, language);
    if (found == nullptr) return std::string();
    const char* data = static_cast<const char*>(LockResource(LoadResource(program, found)));
    return std::string(data, SizeofResource(program, found));
  }

  HMODULE program = nullptr;
};

}  // namespace

TEST_F(ProgramResources, StringTableInChinese) {
  // Strings 96..111 share one block, block number 103 / 16 + 1.
  EXPECT_FALSE(Bytes(RT_STRING, MAKEINTRESOURCEW(IDS_WINDOW_TITLE / 16 + 1), kChinese).empty());
  wchar_t text[100] = {};
  LoadStringW(program, IDS_WINDOW_TITLE, text, 100);
  EXPECT_STREQ(text, L"LireloDrelkin");
  LoadStringW(program, IDS_WINDOW_CLASS, text, 100);
  EXPECT_STREQ(text, L"KeltoOvrin");
}

TEST_F(ProgramResources, IconGroupHasFiveThirtyTwoBitSizes) {
  const HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(IDI_EMBLEM), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(program, group)));
  const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
  ASSERT_EQ(count, 5);
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = dir + 6 + 14 * i;  // GRPICONDIRENTRY, packed
    sizes.push_back(entry[0]);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32);  // bits per pixel
  }
  EXPECT_EQ(sizes, (std::vector<int>{128, 48, 32, 24, 16}));
}

TEST_F(ProgramResources, VersionIsThreeZeroZeroZero) {
  const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), RT_VERSION);
  ASSERT_NE(found, nullptr);
  const void* data = LockResource(LoadResource(program, found));
  const std::vector<char> copy(static_cast<const char*>(data),
                               static_cast<const char*>(data) + SizeofResource(program, found));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00030000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00030000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

TEST_F(ProgramResources, ManifestAsksForNoElevation) {
  const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                             SizeofResource(program, found));
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

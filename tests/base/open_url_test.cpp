// The one way out to the user's browser.
#include "base/open_url.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace ts = testing_support;

// A page chooses the addresses the client hands to the shell; only web addresses may
// leave. The control case shows the same path really would run a program.
TEST(OpenUrl, RefusesAnythingButWebAddresses) {
  const std::wstring dir = ts::FreshTempDir(L"openurl");
  const std::wstring program = dir + L"picked.exe";
  ASSERT_TRUE(CopyFileW((ts::ExeDir() + L"test_child.exe").c_str(), program.c_str(), FALSE));
  const std::wstring marker = program + L".ran";
  std::wstring fileUrl = L"file:///" + program;
  for (auto& c : fileUrl)
    if (c == L'\\') c = L'/';

  OpenUrl(program.c_str());
  OpenUrl(fileUrl.c_str());
  OpenUrl(nullptr);
  ts::PumpFor(2000);
  EXPECT_FALSE(ts::FileExists(marker));

  ShellExecuteW(nullptr, L"open", program.c_str(), nullptr, nullptr, SW_SHOW);
  EXPECT_TRUE(ts::PumpUntil([&] { return ts::FileExists(marker); }, 10000));
  ts::PumpFor(200);
  ts::RemoveTree(dir);
}

#include "app/run_mode.h"

#include <gtest/gtest.h>

TEST(RunMode, FromCommandLine) {
  const struct {
    const wchar_t* line;
    RunMode mode;
  } cases[] = {
      {L"\"C:\\Games\\KeltoOvrin.exe\"", RunMode::Normal},
      {L"KeltoOvrin.exe /setupsucc", RunMode::Setup},
      {L"KeltoOvrin.exe /uninstallsucc", RunMode::Uninstall},
      {L"KeltoOvrin.exe /ShowDeskTop", RunMode::ShowDesktop},
      // Set-up wins over uninstall, whatever the order on the line.
      {L"KeltoOvrin.exe /uninstallsucc /setupsucc", RunMode::Setup},
      {L"KeltoOvrin.exe /ShowDeskTop /uninstallsucc", RunMode::Uninstall},
      // Letter case matters.
      {L"KeltoOvrin.exe /SetupSucc", RunMode::Normal},
      {L"KeltoOvrin.exe /showdesktop", RunMode::Normal},
      // No parsing into arguments: a switch inside a path or argument counts.
      {L"\"C:\\odd/setupsucc\\KeltoOvrin.exe\"", RunMode::Setup},
      {L"KeltoOvrin.exe --x=/ShowDeskTopNow", RunMode::ShowDesktop},
  };
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<int>(RunModeFromCommandLine(c.line)), static_cast<int>(c.mode))
        << c.line;
}

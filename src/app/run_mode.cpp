#include "app/run_mode.h"

#include <windows.h>

#include "app/strings.h"

RunMode RunModeFromCommandLine(const std::wstring& commandLine) {
  if (Contains(commandLine, kSetupSwitch)) return RunMode::Setup;
  if (Contains(commandLine, kUninstallSwitch)) return RunMode::Uninstall;
  if (Contains(commandLine, kShowDesktopSwitch)) return RunMode::ShowDesktop;
  return RunMode::Normal;
}

bool IsSetupSuccessRun() { return Contains(GetCommandLineW(), kSetupSwitch); }
bool IsUninstallSuccessRun() { return Contains(GetCommandLineW(), kUninstallSwitch); }
bool IsShowDesktopRun() { return Contains(GetCommandLineW(), kShowDesktopSwitch); }

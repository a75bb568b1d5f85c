#include "app/run_mode.h"

#include "base/strings.h"

RunMode RunModeFromCommandLine(const std::wstring& commandLine) {
  if (Contains(commandLine, kSetupSwitch)) return RunMode::Setup;
  if (Contains(commandLine, kUninstallSwitch)) return RunMode::Uninstall;
  if (Contains(commandLine, kShowDesktopSwitch)) return RunMode::ShowDesktop;
  return RunMode::Normal;
}

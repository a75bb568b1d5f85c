// The entry point and the program's one application object.
#include <windows.h>

#include "app/entry.h"
#include "app/global_module.h"

// Built during static initialisation, before wWinMain: it loads the configuration and
// counts the run. Destroyed after wWinMain returns, stopping the download workers.
static CGlobalModule theModule;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return RunProgram(theModule, instance);
}

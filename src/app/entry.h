// The program's start-up and teardown around the application object's Run.
#pragma once

#include <windows.h>

class CGlobalModule;

// Loads the title (string 103) and class name (string 109) into the module and
// registers the one window class of every top-level window. False when registration
// failed (GetLastError says why). A class that is already registered in this process
// counts as registered.
bool RegisterWindowClass(CGlobalModule& module, HINSTANCE instance);

// COM and OLE up, class registered, Run, OLE and COM down; Run's exit code. When OLE or
// the window class fails, a line goes to the debugger output and the program ends with
// kExitNoWindow instead of running a loop without windows.
int RunProgram(CGlobalModule& module, HINSTANCE instance);

// A start-up failure the player cannot see: a line for the debugger naming what failed
// and its code. Returns kExitNoWindow, the exit code such a run ends with.
int ReportStartupFailure(const wchar_t* what, HRESULT code);

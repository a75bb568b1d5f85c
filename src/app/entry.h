// The program's start-up and teardown around the application object's Run.
#pragma once

#include <windows.h>

class CGlobalModule;

// Loads the title (string 103) and class name (string 109) into the module and
// registers the one window class of every top-level window. False when registration
// failed; start-up goes on regardless.
bool RegisterWindowClass(CGlobalModule& module, HINSTANCE instance);

// COM and OLE up, class registered, Run, OLE and COM down; Run's exit code.
int RunProgram(CGlobalModule& module, HINSTANCE instance);

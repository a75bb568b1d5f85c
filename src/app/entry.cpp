#include "app/entry.h"

#include <objbase.h>
#include <ole2.h>

#include "app/global_module.h"
#include "app/resource_ids.h"

namespace {

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Nothing thrown may cross into the system's dispatcher.
  try {
    return App().RouteWindowMessage(message, window, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterWindowClass(CGlobalModule& module, HINSTANCE instance) {
  module.instance = instance;
  LoadStringW(instance, IDS_WINDOW_TITLE, module.windowTitle, 100);
  LoadStringW(instance, IDS_WINDOW_CLASS, module.windowClassName, 100);
  const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_EMBLEM));
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = SharedWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hIconSm = icon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = module.windowClassName;
  return RegisterClassExW(&windowClass) != 0;
}

int RunProgram(CGlobalModule& module, HINSTANCE instance) {
  CoInitialize(nullptr);
  OleInitialize(nullptr);
  RegisterWindowClass(module, instance);
  const int exitCode = module.Run();
  OleUninitialize();
  CoUninitialize();
  return exitCode;
}

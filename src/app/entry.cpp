#include "app/entry.h"

#include <objbase.h>
#include <ole2.h>

#include <cwchar>

#include "app/global_module.h"
#include "base/resource_ids.h"

namespace {

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Nothing thrown may cross into the system's dispatcher.
  try {
    // A window of the class can outlive the application object (a test's, say).
    CGlobalModule* app = App();
    if (app != nullptr) return app->RouteWindowMessage(message, window, wParam, lParam);
  } catch (...) {
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int ReportStartupFailure(const wchar_t* what, HRESULT code) {
  wchar_t line[200] = {};
  swprintf(line, 200, L"KeltoOvrin: %ls (0x%08lX)\n", what, static_cast<unsigned long>(code));
  OutputDebugStringW(line);
  return kExitNoWindow;
}

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
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int RunProgram(CGlobalModule& module, HINSTANCE instance) {
  const HRESULT com = CoInitialize(nullptr);
  // The page windows host an ActiveX control; without OLE they would stay empty for ever.
  const HRESULT ole = OleInitialize(nullptr);
  int exitCode = 0;
  if (FAILED(ole)) {
    exitCode = ReportStartupFailure(L"OleInitialize failed", ole);
  } else if (!RegisterWindowClass(module, instance)) {
    exitCode = ReportStartupFailure(L"the window class cannot be registered",
                                    HRESULT_FROM_WIN32(GetLastError()));
  } else {
    exitCode = module.Run();
  }
  if (SUCCEEDED(ole)) OleUninitialize();
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}

// A tiny program the tests start, copy and rename. Unless asked to sleep it leaves a
// file "<its own path>.ran" behind holding its command line (UTF-16), so a test can tell
// whether and how something started it.
// "--sleep N" keeps it running for N milliseconds (a process for the Toolhelp walk).
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wcscmp(argv[1], L"--sleep") == 0) {
    Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    return 0;
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring marker = std::wstring(self) + L".ran";
  const HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const wchar_t* line = GetCommandLineW();
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::wcslen(line) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  return 0;
}

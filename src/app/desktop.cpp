#include "app/desktop.h"

#include <windows.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlwapi.h>

#include <wrl/client.h>

#include <string>

#include "base/files.h"

namespace {
// The shell automation object and the interface that has ToggleDesktop.
const CLSID kClsidShell = {
    0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kIidShellDispatch4 = {
    0xEFD84B2D, 0x4BCF, 0x4298, {0xBE, 0x25, 0xEB, 0x54, 0x2A, 0x59, 0xFB, 0xDA}};
constexpr DWORD kAnyServer =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
}  // namespace

void ShowDesktop() {
  const HRESULT com = CoInitialize(nullptr);
  {
    Microsoft::WRL::ComPtr<IShellDispatch4> shell;
    if (SUCCEEDED(CoCreateInstance(kClsidShell, nullptr, kAnyServer, kIidShellDispatch4,
                                   reinterpret_cast<void**>(shell.GetAddressOf()))) &&
        shell)
      shell->ToggleDesktop();
  }  // released before COM goes down
  if (SUCCEEDED(com)) CoUninitialize();
}

void LaunchCompanion() {
  // Without a data folder the name alone would be looked for wherever the program started.
  const std::wstring folder = GetDataFolder();
  if (folder.empty()) return;
  const std::wstring path = folder + L"Sparvel.exe";
  if (PathFileExistsW(path.c_str()))
    ShellExecuteW(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

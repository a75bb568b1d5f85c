// Helpers the test programs share: fresh folders, child processes, message pumping.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// The folder of the running test program, with a trailing backslash.
std::wstring ExeDir();

// A new empty folder under the temporary folder, with a trailing backslash.
std::wstring FreshTempDir(const std::wstring& name);

// Deletes a folder and everything below it; missing is fine.
void RemoveTree(const std::wstring& folder);

bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// Starts commandLine and waits up to timeoutMs. True when it ended in time; the exit
// code goes to *exitCode. A process still running at the deadline is terminated.
bool RunProcess(const std::wstring& commandLine, DWORD timeoutMs, DWORD* exitCode);

// Dispatches this thread's messages until done() is true or timeoutMs passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);

// Removes the settings file, so the next application object starts as a first run.
void ResetSettings();

}  // namespace testing_support

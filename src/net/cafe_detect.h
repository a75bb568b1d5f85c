// Internet-cafe detection: looks for the traces that known cafe-management,
// diskless-boot and cafe-menu products leave (keys under HKEY_LOCAL_MACHINE, names of
// running processes) in a fixed order. Stateless; runs on the main thread while the
// statistics object initialises, which keeps only whether the code is 0 or above.
#pragma once

// The code of the first row whose trace holds, or -1 when none does. The registry and
// the process list are read afresh for every test: at most 18 key opens and 11 process
// walks.
int DetectInternetCafe();

// DetectInternetCafe over the given tests of a key trace and of a process trace, in the
// same order and with the same stopping rule.
int DetectInternetCafeWith(bool (*isKeyPresent)(const wchar_t* path),
                           bool (*isProcessRunning)(const wchar_t* exeName));

// Whether HKEY_LOCAL_MACHINE\path opens with KEY_QUERY_VALUE. No registry-view flag is
// given, so the 32-bit product looks in the 32-bit view, where 32-bit cafe products write.
// Leading backslashes are skipped: two traces are written with one in front,
// and the registry refuses a relative path that begins with one, so without this those
// products could never be recognised. A missing or inaccessible key counts as absent.
bool IsRegistryKeyPresent(const wchar_t* path);

// Whether a process whose executable name equals exeName exactly (letter case counts)
// runs now, from a fresh Toolhelp snapshot. False when no snapshot can be taken.
bool IsProcessRunning(const wchar_t* exeName);

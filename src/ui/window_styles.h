// The style changes the program's top-level windows make after creation, named once.
// Every form is created as a hidden WS_POPUP and then restyled.
#pragma once

#include <windows.h>

// The background and login windows: no popup frame, border, size box or maximize box
// (nor bit 0x80), but a system menu and a minimize box, so the shell still treats them
// as ordinary top-level windows (Alt+F4, minimizing and restoring from the taskbar).
inline constexpr LONG_PTR kFramelessStyleKeep = 0x7F30FF7F;
// Added to the style of every restyled window: WS_SYSMENU | WS_MINIMIZEBOX.
inline constexpr LONG_PTR kMinimizableStyle = WS_SYSMENU | WS_MINIMIZEBOX;
// WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE: cleared from the layered
// windows' extended style.
inline constexpr LONG_PTR kFrameExStyles =
    WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
// WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW: cleared from the bare window
// of the one-shot runs, which also becomes a tool window.
inline constexpr LONG_PTR kBareClearedExStyles =
    WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW;

static_assert(kFrameExStyles == 0x181, "the frame bits of the extended style");
static_assert(kBareClearedExStyles == 0x40101, "the bare window's cleared bits");

// (style AND keep) OR kMinimizableStyle on window's GWL_STYLE.
inline void RestyleWindow(HWND window, LONG_PTR keep) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  SetWindowLongPtrW(window, GWL_STYLE, (style & keep) | kMinimizableStyle);
}

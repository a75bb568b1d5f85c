// The client's own window messages. None carries data except the tray callback.
#pragma once

#include <windows.h>

// Login window to itself: the page asked to enter the game; the router opens the game
// window.
inline constexpr UINT WM_OVRIN_ENTER_GAME = WM_USER + 200;
// To the login window: close at once, which ends the program (one-shot runs, upgrade).
inline constexpr UINT WM_OVRIN_QUIT_NOW = WM_USER + 201;
// The game window's tray icon callback: wParam the icon id, lParam the mouse message.
inline constexpr UINT WM_OVRIN_TRAY = WM_USER + 204;
// From another program: ask the player to confirm quitting.
inline constexpr UINT WM_OVRIN_CONFIRM_QUIT = WM_USER + 206;
// Login window to itself: open the OAuth popup.
inline constexpr UINT WM_OVRIN_OPEN_OAUTH = WM_USER + 207;
// Cache-cleaning thread to the game window: cleaning has finished.
inline constexpr UINT WM_OVRIN_CACHE_CLEANED = WM_USER + 210;

// The client's own window messages, numbered from WM_USER. None carries data except the
// tray callback.
#pragma once

#include <windows.h>

// Login window to itself: the page asked to enter the game, with the address the login
// window keeps. Nothing in the program answers it yet: the game window is still to come.
inline constexpr UINT WM_OVRIN_ENTER_GAME = WM_USER + 200;
// To the login window, from any thread: close at once, which ends the program (one-shot
// runs, the hand-over to the upgrader).
inline constexpr UINT WM_OVRIN_QUIT_NOW = WM_USER + 201;
// Reserved for the game window's tray icon callback (wParam the icon id, lParam the mouse
// message); no window of the program uses it yet.
inline constexpr UINT WM_OVRIN_TRAY = WM_USER + 204;
// From another program, to the login window: ask the player to confirm quitting.
inline constexpr UINT WM_OVRIN_CONFIRM_QUIT = WM_USER + 206;
// Login window to itself: the page asked for the OAuth popup, with the address the login
// window keeps. Nothing in the program answers it yet: the popup is still to come.
inline constexpr UINT WM_OVRIN_OPEN_OAUTH = WM_USER + 207;
// Reserved for the game window's cache-cleaning thread, to say that cleaning has
// finished; nothing posts it yet.
inline constexpr UINT WM_OVRIN_CACHE_CLEANED = WM_USER + 210;
// From the worker that read a version file offering a newer client, to the login window:
// the router asks the player on the main thread and starts the upgrader download there,
// so that no worker ever waits on a window of the main thread.
inline constexpr UINT WM_OVRIN_OFFER_UPGRADE = WM_USER + 211;

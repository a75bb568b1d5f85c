// Colours the toolkit and the windows share.
#pragma once

#include <windows.h>

// RGB(255, 128, 255): transparent in colour-keyed drawing and in the login window's
// layered colour key.
inline constexpr COLORREF kColorKey = 0x00FF80FF;

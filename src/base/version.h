// The client's own numbers, shared by the login address, the upgrade decision and the
// beacons.
#pragma once

inline constexpr int kClientVersion = 3000;    // 3.0.0.0 without the dots
inline constexpr wchar_t kGameId[] = L"1012";  // the game on the platform

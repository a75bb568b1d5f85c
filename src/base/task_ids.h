// The ids of the downloads the application object queues; OnDownloadEvent tells them
// apart by these.
#pragma once

inline constexpr int kTaskVersionFile = 0;      // version file into the upgrade folder
inline constexpr int kTaskUpgrader = 1;         // the upgrader program
inline constexpr int kTaskInstallBeacon = 3;    // ends the set-up run
inline constexpr int kTaskUninstallBeacon = 4;  // ends the uninstall run
inline constexpr int kTaskActiveBeacon = 5;

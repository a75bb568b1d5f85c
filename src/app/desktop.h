// Small shell chores of the start-up.
#pragma once

// Toggles the desktop through the shell's automation object; nothing happens when the
// object cannot be created.
void ShowDesktop();

// Starts the optional companion "Sparvel.exe" from the data folder when it is there,
// without waiting for it.
void LaunchCompanion();

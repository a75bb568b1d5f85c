// Resource ids, shared by the resource script and the code.
#pragma once

#define IDS_WINDOW_TITLE 103  // "LireloDrelkin"
#define IDS_WINDOW_CLASS 109  // "KeltoOvrin"
#define IDI_EMBLEM 151        // the game's emblem, every window's icon

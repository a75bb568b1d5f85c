// Resource ids, shared by the resource script and the code.
#pragma once

#define IDS_WINDOW_TITLE 103  // "LireloDrelkin"
#define IDS_WINDOW_CLASS 109  // "KeltoOvrin"
#define IDI_EMBLEM 151        // the game's emblem, every window's icon

// The game window's command menu: one popup.
#define IDR_TOOL_MENU 149
#define ID_TOOL_REFRESH 32774      // "刷新"
#define ID_TOOL_AUTORUN 32776      // "开机启动"
#define ID_TOOL_CLEAN_CACHE 32778  // "清理缓存"
// The tray icon's menu: one popup.
#define IDR_TRAY_MENU 156
#define ID_TRAY_OPEN 32781  // "打开"
#define ID_TRAY_EXIT 32782  // "退出"

// Where a window goes when it is centred. Pure arithmetic.
#pragma once

#include <windows.h>

// The top-left corner that centres a window with client rectangle client in the work
// area: ((client.left + work.right - client.right) / 2, (client.top + work.bottom -
// client.bottom) / 2), truncating. The work area's left and top are not used, so a
// taskbar on the left or top shifts the window by half its width.
inline POINT CenteredOrigin(const RECT& work, const RECT& client) {
  return POINT{(client.left + work.right - client.right) / 2,
               (client.top + work.bottom - client.bottom) / 2};
}

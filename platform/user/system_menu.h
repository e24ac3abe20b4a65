#pragma once
// The window menu behind the caption icon: Restore, Minimize, Maximize and Close, opened with
// Alt+Space or a click on the icon, and choosing sends the matching WM_SYSCOMMAND. Moving and
// sizing with the keyboard are not offered (windows move and size with the mouse).

#include "win32.h"

namespace vel::platform {

/// Opens the window menu of a window with WS_SYSMENU below its caption icon, with the items
/// enabled as the window's state allows, and sends the chosen command. Beeps for a window
/// without a window menu.
void ShowSystemMenu(HWND window);

/// Forgets (and destroys) the window menu of a window that is going away.
void ReleaseSystemMenu(HWND window);

}  // namespace vel::platform

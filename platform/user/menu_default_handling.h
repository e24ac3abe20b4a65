#pragma once
// What DefWindowProcA does for menus: Alt or F10 pressed and released alone, or Alt with a
// mnemonic, becomes WM_SYSCOMMAND SC_KEYMENU; a button going down on the menu bar becomes
// SC_MOUSEMENU; both start the menu loop. It also draws the bar when the frame is painted and
// destroys a window's menu with the window.

#include "win32.h"

namespace vel::platform {

/// Handles a message for the default window procedure. Returns true when the message was
/// consumed (its answer in *result); false when the rest of the default handling should run
/// (it may still have done its part, as for WM_SYSKEYDOWN).
bool MenuDefaultHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace vel::platform

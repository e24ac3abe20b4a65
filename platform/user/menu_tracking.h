#pragma once
// The menu loop: while a menu bar or popup menu is open, the loop owns the mouse (capture on the
// owner window) and the keyboard, moves the selection, opens and closes popups, and tells the
// owner what happens: WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP before each popup shows,
// WM_MENUSELECT as the selection moves and (0xFFFF, null) at the end, WM_EXITMENULOOP, and
// last a posted WM_COMMAND for the chosen item. Other messages are dispatched as usual, so
// windows keep painting and timers keep running. One loop runs at a time.

#include "win32.h"

namespace vel::platform {

/// WM_SYSCOMMAND SC_MOUSEMENU: a button went down on the menu bar at a screen point.
void TrackMenuBarFromMouse(HWND window, POINT screenPoint);

/// WM_SYSCOMMAND SC_KEYMENU: Alt or F10 alone (character 0) selects the first bar item; a
/// character opens the bar item it is the mnemonic of, or beeps when there is none.
void TrackMenuBarFromKeyboard(HWND window, char character);

/// Runs the loop for a popup menu placed at a screen point as the TPM_* flags say
/// (TrackPopupMenu). Returns the chosen command, 0 when nothing was chosen.
UINT TrackPopupMenuAt(HWND owner, HMENU menu, POINT screenPoint, UINT flags);

/// Whether a menu loop is running on any thread.
bool MenuLoopActive();

}  // namespace vel::platform

#pragma once
// Moving a window by its caption and sizing it by its frame with the mouse: the modal loop
// behind WM_SYSCOMMAND SC_MOVE and SC_SIZE. The platform draws every frame itself (desktop
// windows are borderless), so this loop is the only way a user moves or sizes a window.

#include "win32.h"

namespace vel::platform {

/// The WM_SYSCOMMAND that a press on a part of the frame starts: SC_MOVE | HTCAPTION for the
/// caption, SC_SIZE | WMSZ_* for a sizing border of a resizable window, 0 for anything else.
WPARAM MoveSizeCommandFor(HWND window, WPARAM hit);

/// Runs the loop for SC_MOVE or SC_SIZE started with the mouse (the low four bits name the
/// caption or the border) while the left button is down: the window follows the pointer
/// (WM_ENTERSIZEMOVE, WM_MOVING or WM_SIZING before each step, WM_EXITSIZEMOVE at the end),
/// keeps at least its minimum tracking size, and returns to where it was on Esc. Returns when
/// the button comes up, the capture is lost or the window goes. A command without those bits
/// (moving with the keyboard) does nothing.
void TrackMoveSize(HWND window, WPARAM command);

/// The cursor WM_SETCURSOR shows over a part of the frame: the sizing arrows over the borders of
/// a resizable window, else null (the standard arrow).
LPCSTR SizingCursorFor(HWND window, WORD hit);

}  // namespace vel::platform

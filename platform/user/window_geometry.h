#pragma once
// Helpers shared by creation and positioning: size limits, the client area, and the
// WM_SIZE/WM_MOVE pair.

#include "win32.h"

namespace vel::platform {

/// What WM_GETMINMAXINFO starts from for a window: maximised to cover its parent's client area
/// with the frame outside it, tracking sizes from the system metrics.
MINMAXINFO DefaultMinMaxInfo(HWND window);

/// Asks the window for its client area (WM_NCCALCSIZE) and keeps the answer.
void RecalculateClient(HWND window);

/// WM_SIZE with the window's state and client size, then WM_MOVE with its client origin.
void SendSizeAndMove(HWND window);

/// The rectangle (in parent coordinates) of a window after `command` (SW_MINIMIZE or
/// SW_MAXIMIZE), from the system's defaults and the window's WM_GETMINMAXINFO answer.
RECT MaximizedRect(HWND window);

}  // namespace vel::platform

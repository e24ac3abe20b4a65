#pragma once
// The non-client model of a classic look: frames, caption and menu bar sizes from the window
// styles, what part of a window a point is over, and the system metrics behind both.

#include "win32.h"

namespace vel::platform {

/// The client rectangle inside a window rectangle for these styles (what WM_NCCALCSIZE answers
/// by default).
RECT ClientFromWindowRect(const RECT& windowRect, DWORD style, DWORD exStyle, bool hasMenu);

/// The thickness of the frame on each side for these styles.
int FrameThickness(DWORD style, DWORD exStyle);

/// Whether the styles give a caption bar.
bool HasCaption(DWORD style);

/// What WM_NCHITTEST answers by default for a screen point, given the window's screen rect,
/// screen client rect and styles.
LRESULT HitTest(POINT screenPoint, const RECT& windowRect, const RECT& clientRect, DWORD style, DWORD exStyle);

}  // namespace vel::platform

#pragma once
// The user working a window's vertical scroll bar with the mouse: the arrows and the track send
// their line and page codes at once and again while held, the thumb sends its track positions
// while dragged and its final position when let go; SB_ENDSCROLL ends every press.

#include "platform/user/scroll_bar_paint.h"
#include "platform/user/scroll_bar_state.h"
#include "win32.h"

namespace vel::platform {

/// The left button went down on a window's bar (SB_VERT) at a screen point: tracks it until the
/// button comes up, sending WM_VSCROLL to the window. A horizontal bar is not tracked.
void TrackScrollBar(HWND window, int bar, POINT screenPoint);

/// The part of a window's bar held down now (drawn pressed), or none.
ScrollPart PressedScrollBarPart(HWND window, int bar);

/// Where a window's bar lies in window coordinates (empty when it has none).
RECT ScrollBarArea(HWND window, int bar);

/// The classic layout of a vertical bar in `area` for a bar's range, page and position.
VerticalScrollBar LayoutWindowScrollBar(const RECT& area, const ScrollBarState& state);

}  // namespace vel::platform

#pragma once
// What the platform's own code reads and sets of a window's scroll bars beyond the Win32 calls:
// the whole state of a bar, and the thumb's place while it is dragged.

#include <optional>

#include "platform/user/scroll_bar_state.h"
#include "win32.h"

namespace vel::platform {

/// The state of a window's bar (SB_VERT or SB_HORZ), or none for another bar or no window.
std::optional<ScrollBarState> ScrollBarOf(HWND window, int bar);

/// Records where the thumb is dragged to (what GetScrollInfo answers for SIF_TRACKPOS).
void SetScrollTrackPos(HWND window, int bar, int position);

}  // namespace vel::platform

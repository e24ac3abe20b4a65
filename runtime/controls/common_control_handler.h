#pragma once
// The message handling all controls share, after their class's own: commands and colours handed
// on to the window, cursors, focus notification, tooltip text and relay, file drops and the
// runtime's private queries.

#include "win32.h"

namespace vel::controls {

class WindowedControl;

/// Handles `message` for `control` after its class handler answered `classResult`. Clears
/// `passOn` for what it consumes; answers the result to return (`classResult` when it does not
/// take the message).
LRESULT CommonControlHandler(WindowedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT classResult, bool& passOn);

}  // namespace vel::controls

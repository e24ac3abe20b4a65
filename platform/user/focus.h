#pragma once
// Which window has the keyboard focus, which top-level window is active, which window holds
// the mouse capture, and whether the program is the active one. The changes send the
// documented messages in the documented order.

#include "win32.h"

namespace vel::platform {

struct InputWindows {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  bool applicationActive = false;
};

/// A copy of the current state.
InputWindows CurrentInputWindows();

/// Makes a top-level window active (null: none) with WM_NCACTIVATE, WM_ACTIVATE and, when the
/// program's own activation changes, WM_ACTIVATEAPP. `byMouse` reports WA_CLICKACTIVE.
/// Returns the previously active window.
HWND ActivateWindow(HWND window, bool byMouse);

/// The window that becomes active when `leaving` stops being active: its owner when that can
/// be, else the topmost other visible, enabled, not minimised top-level window; null if none.
HWND SuccessorForActivation(HWND leaving);

/// Called while a window is being destroyed or hidden: focus, activation and capture leave it
/// and its descendants.
void TakeInputAwayFrom(HWND window, bool handActivationOn);

/// The user switched away from the program (false) or back to it (true).
void SetApplicationActive(bool active);

}  // namespace vel::platform

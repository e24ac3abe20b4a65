#pragma once
// The hot control: at most one control at a time follows the mouse pointer (a flat button lights
// up while the pointer is over it). While a control is hot, a mouse hook on the current thread
// hands it every mouse message the thread takes, so that it notices at once when the pointer
// has left it, even when the pointer went straight onto another control.

#include "win32.h"

namespace vel::controls {

class WindowedControl;

/// The runtime error of a release by a control that is not the hot one (module "CTLMAIN").
inline constexpr int kErrorNotTheHotControl = 505;

/// Makes `control` the hot control: nothing when it is hot already; otherwise the previous hot
/// control's hook is removed and a mouse hook is installed on the current thread for this one.
void MakeHotControl(WindowedControl& control);

/// Ends the hot state of `control`: the hook is removed and no control is hot. Only the hot
/// control may do this; any other raises error 505 "CTLMAIN".
void ReleaseHotControl(WindowedControl& control);

/// Releases the hot control if it is `control` (a control going away), and nothing otherwise.
void ForgetHotControl(WindowedControl& control);

/// The hot control and its hook, or null when no control is hot.
WindowedControl* HotControl();
HHOOK HotControlHook();

}  // namespace vel::controls

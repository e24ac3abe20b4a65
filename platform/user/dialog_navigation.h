#pragma once
// The order in which the dialog manager visits controls: the dialog's children in z-order,
// descending into children marked WS_EX_CONTROLPARENT instead of visiting them.

#include <vector>

#include "win32.h"

namespace vel::platform {

/// Every control of a dialog in navigation order (containers replaced by their controls).
std::vector<HWND> DialogControls(HWND dialog);

/// Whether a control can take the focus from the keyboard: visible and enabled.
bool CanTakeFocus(HWND control);

}  // namespace vel::platform

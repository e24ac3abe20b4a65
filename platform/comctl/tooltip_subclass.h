#pragma once
// TTF_SUBCLASS tools: the tooltip control puts itself in front of the tool's window procedure
// and hears its mouse messages without the owner relaying them.

#include "win32.h"

namespace vel::platform {

/// Starts relaying the mouse messages of `window` to `tooltip`. Each call is undone by one
/// StopRelayingMouse.
void RelayMouseOf(HWND window, HWND tooltip);

/// Stops one relay of `window` to `tooltip`; the window gets its own procedure back when it
/// has no relay left and nobody has subclassed it since.
void StopRelayingMouse(HWND window, HWND tooltip);

}  // namespace vel::platform

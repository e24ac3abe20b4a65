#pragma once
// The tooltip windows of the runtime's threads: one per thread, made when the thread's first
// control with a tip is created and used by all of that thread's windows. A control registers
// its window as a tool whose text is asked for when the tip shows (TTN_NEEDTEXT).

#include "win32.h"

namespace vel::controls {

class WindowedControl;

/// Registers the control's window with its thread's tooltip window, creating that first.
void RegisterControlTip(WindowedControl& control);

/// Removes the control's tool, when its thread has a tooltip window.
void RemoveControlTip(WindowedControl& control);

/// The tooltip window of a thread slot, or null when it has none yet.
HWND TooltipWindowOfSlot(int slot);

/// Destroys every thread's tooltip window (when the control framework stops).
void DestroyTooltipWindows();

/// Tooltips can be switched off for the whole program.
void SetTooltipsEnabled(bool enabled);
bool TooltipsEnabled();

}  // namespace vel::controls

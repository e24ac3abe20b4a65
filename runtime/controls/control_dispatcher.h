#pragma once
// The shared dispatcher behind every control window procedure: the control object is found in
// the window's extra bytes, its class handler and then the common control handler see the
// message, and what neither consumed goes on to the base class's procedure. Messages of the
// runtime's private range (0x1400 and above) never reach a platform procedure.

#include "runtime/controls/control_class.h"
#include "win32.h"

namespace vel::controls {

class WindowedControl;

/// Dispatches one message of a window of the class `descriptor`.
LRESULT DispatchControlMessage(const ControlClassDescriptor& descriptor, HWND window, UINT message,
                               WPARAM wParam, LPARAM lParam);

/// The window procedure of a control class: one instance per descriptor.
template <ControlClassDescriptor& Descriptor>
LRESULT CALLBACK ControlWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchControlMessage(Descriptor, window, message, wParam, lParam);
}

/// The control object kept in a control window of the class `descriptor`, or null.
WindowedControl* ControlInWindow(const ControlClassDescriptor& descriptor, HWND window);

/// Forgets the object of a control window, so that the messages of its destruction go straight
/// to the base procedure (the object is going away first).
void DetachControlObject(const ControlClassDescriptor& descriptor, HWND window);

}  // namespace vel::controls

#pragma once
// What a procedure reads about the event it is handling, and the event operations it calls.
// The accessors read the current event of the calling thread's current window; with no window
// or no current event they return 0.

#include <cstdint>

namespace vel::windows {

struct WindowObject;

/// The current event's code less 0x1400.
std::int32_t EventNumber();
/// Field number of the current event's control when it is a field, else 0.
std::int32_t EventField();
/// For EVENT:Accepted, the field number of its control; for any other event 0.
std::int32_t AcceptedField();
/// Field number of the control that last received EVENT:Selected in the current window.
std::int32_t SelectedField();
/// Key code of the current event (low 11 bits); with no current event, the thread's last key
/// code.
std::int32_t KeyCode();
/// Sets the low 11 bits of the thread's last key code and of the current event's key code.
void SetKeyCode(std::int32_t keyCode);

/// Moves the focus in the target window to a field; field 0 starts an accept-all pass.
void SelectField(std::int32_t field, std::int32_t selectionStart = 0, std::int32_t selectionEnd = -1);

/// Posts event `eventNumber` about field `field` (0 = the window) to the current window of a
/// thread: 0 = the calling thread, n = the thread in slot n - 1. Nothing happens when that
/// thread has no window.
void PostEvent(std::int32_t eventNumber, std::int32_t field = 0, std::int32_t thread = 0);

/// Makes `window` the thread's target for window operations. A null window with thread 1 .. 64
/// takes that thread's current window; both 0 restore the current window.
void SetTargetWindow(WindowObject* window, std::int32_t thread = 0);

/// The window operations without an explicit window act on: the target when set, else the
/// calling thread's current window (no frame exists), or null.
WindowObject* TargetWindow();

}  // namespace vel::windows

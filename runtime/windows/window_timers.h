#pragma once
// The two timers of a window: timer 1, the definition's timer, raises EVENT:Timer; timer 2,
// the idle timer the procedure names for its ACCEPT loop, posts the event the procedure chose.
// Intervals are in hundredths of a second, as definitions give them.

#include <cstdint>

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// Platform timer identifiers of a window.
inline constexpr UINT_PTR kWindowTimerId = 1;
inline constexpr UINT_PTR kIdleTimerId = 2;

/// Stops timer 1 and, for an interval above 0, starts it again with interval x 10 ms. The
/// interval is kept (0 for a negative one) and reported as the window's timer.
void RestartWindowTimer(WindowObject& window, std::int32_t interval);

/// Names the idle timer: every interval x 10 ms the window's ACCEPT loop posts event number
/// `eventNumber` (the code less 0x1400) to it. An event number or interval of 0 stops it.
void SetIdleTimer(WindowObject& window, std::int32_t eventNumber, std::int32_t interval);

/// Stops both timers of a window that is closing.
void StopWindowTimers(WindowObject& window);

/// Called by the ACCEPT step for every message it takes: a WM_TIMER of the idle timer of
/// `window` posts the idle event. Returns true when the message was the idle timer's.
bool TakeIdleTimerMessage(WindowObject& window, const MSG& message);

}  // namespace vel::windows

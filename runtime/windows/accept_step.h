#pragma once
// The ACCEPT step: what a procedure's ACCEPT loop calls once per turn. It returns true when an
// event is ready for the procedure and false when the window has been closed, which ends the
// loop.

#include <cstdint>
#include <functional>

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// One ACCEPT step for the calling thread's current window. The event the procedure had is
/// finished first (a CloseWindow it took, and did not refuse, makes the window close; a sent
/// event gets its answer). Error 537 when the thread has no current window.
bool AcceptStep();

/// The procedure refuses the event it is handling: a refused CloseWindow leaves the window
/// open, a refused system command (Move, Size, Restore, Maximize, Iconize) is not carried
/// out, a refused PreAlert lets its key through unhandled.
void RefuseCurrentEvent();

/// One event selection pass for `window` (exposed for the loop and for tests of the queue
/// rules): true when an event was made the window's current event for the procedure.
bool SelectEvent(WindowObject& window);

/// The installed message filter sees every message the window's pre-translation (alert keys,
/// hot keys, menu shortcuts, dialog navigation) did not take; it returns true when it consumed
/// the message. An empty function removes it; the idle routine is left as it is.
void SetAcceptMessageFilter(std::function<bool(MSG&)> filter);

/// The idle routine runs for a thread message received on the main thread. An empty function
/// removes it; the message filter is left as it is.
void SetAcceptIdleRoutine(std::function<void()> routine);

}  // namespace vel::windows

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

/// Hooks that the keyboard and menu layer, the frame and an idle routine install.
struct AcceptHooks {
  /// Records the key code of a message for the calling thread.
  std::function<void(const MSG&)> recordKey;
  /// The window's pre-translation (alert keys, hot keys, accelerators, dialog navigation);
  /// returns true when it consumed the message.
  std::function<bool(WindowObject&, MSG&)> preTranslate;
  /// The installed message filter; returns true when it consumed the message.
  std::function<bool(MSG&)> messageFilter;
  /// Runs for a thread message received on the main thread.
  std::function<void()> idleRoutine;
};
void SetAcceptHooks(AcceptHooks hooks);

}  // namespace vel::windows

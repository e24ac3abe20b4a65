#pragma once
// The shutdown step that follows the main procedure: close what is still open, stop the other
// threads, clear the running flag, kill the global timer and release the value runtime. The
// subsystems that own those things fill the hooks.

#include <functional>

namespace vel::services {

/// The hooks of the shutdown step, in the order it calls them.
enum class ShutdownHook {
  /// Calls the close operation of every window still in the list of open top-level windows, in
  /// list order (window manager).
  CloseOpenWindows,
  /// Stops the runtime's other threads and waits for them (threads).
  StopOtherThreads,
  /// Kills the runtime's global timer if it is set, with KillTimer and no window (window
  /// manager). Runs after the running flag is cleared.
  KillGlobalTimer,
  /// The optional value-runtime clean-up hook.
  ValueRuntimeCleanUp,
  /// Releases the value runtime's remaining state (string stack).
  ReleaseValueRuntimeState,
};

/// Fills one hook; an empty function empties it.
void SetShutdownHook(ShutdownHook which, std::function<void()> hook);

/// Runs the filled hooks in the order above, clearing the runtime running flag between
/// stopping the threads and killing the timer.
void RunShutdownStep();

}  // namespace vel::services

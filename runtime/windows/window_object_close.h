#pragma once
// Closing a window: the platform windows, the class, the queue and the controls are released
// and the handle becomes null, which ends the window's ACCEPT loop.

namespace vel::windows {

struct WindowObject;

/// Closes a window; null means the calling thread's current window. Error 536 when the
/// reference names no open window.
void CloseWindow(WindowObject* reference);

/// Releases an open window without the checks of CloseWindow.
void ReleaseWindow(WindowObject& window);

}  // namespace vel::windows

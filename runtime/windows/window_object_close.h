#pragma once
// Closing a window: the platform windows, the class, the queue and the controls are released
// and the handle becomes null, which ends the window's ACCEPT loop.

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// Closes a window; null means the calling thread's current window. Error 536 when the
/// reference names no open window.
void CloseWindow(WindowObject* reference);

/// Releases an open window without the checks of CloseWindow.
void ReleaseWindow(WindowObject& window);

/// Told of each released window's former handle once its events are gone (the interprocess
/// layer ends the window's conversations). Null removes it.
using WindowReleaseObserver = void (*)(HWND handle);
void SetWindowReleaseObserver(WindowReleaseObserver observer);

}  // namespace vel::windows

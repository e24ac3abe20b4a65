#pragma once
// The window procedure of runtime windows: turns platform messages into events.

#include "win32.h"

namespace vel::windows {

/// The procedure every runtime window class is registered with. Messages it does not take go
/// to DefWindowProcA.
LRESULT CALLBACK RuntimeWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

/// The box shown when the session is about to end while the program runs.
inline constexpr const char kSessionEndText[] = "Application still active.\n\nQuit the application before quitting Windows.";

}  // namespace vel::windows

#pragma once
// The window procedure of runtime windows: turns platform messages into events.

#include "win32.h"

namespace vel::windows {

/// The procedure every runtime window class is registered with. Messages it does not take go
/// to DefWindowProcA.
LRESULT CALLBACK RuntimeWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

struct WindowObject;

/// A handler for the messages of another subsystem (the interprocess layer takes the DDE
/// messages): it sees each message the window procedure does not handle itself, before the
/// default procedure, and returns true, with the answer in `result`, when it took it.
using ForeignMessageHandler = bool (*)(WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result);

/// Installs the handler (null removes it).
void SetForeignMessageHandler(ForeignMessageHandler handler);

/// What the runtime does when the system colours change, before its windows repaint (the image
/// support installs the brush cache's renewal); null for nothing.
using SystemColorChangeHook = void (*)();
void SetSystemColorChangeHook(SystemColorChangeHook hook);

/// The box shown when the session is about to end while the program runs.
inline constexpr const char kSessionEndText[] = "Application still active.\n\nQuit the application before quitting Windows.";

}  // namespace vel::windows

#pragma once
// The client window: the child of a runtime window that is the parent of all its controls. It
// is a dialog-like window (its messages end in DefDlgProcA), so the platform's dialog manager
// moves the focus between the controls.

#include "win32.h"

namespace vel::windows {

struct WindowObject;

inline constexpr const char kClientClassName[] = "VelChildClient";

/// Byte offset of the window object pointer in the client window's extra bytes, after the
/// bytes the dialog manager uses.
inline constexpr int kClientObjectOffset = DLGWINDOWEXTRA;

/// Registers "VelChildClient" when it is not registered yet and creates the client window of
/// `window` inside `topLevel`, at 0, 0 with size 0 (LayOutWindow sizes it). Returns null when
/// the class or the window cannot be made.
HWND CreateClientWindow(WindowObject& window, HWND topLevel);

/// The window object kept in a client window, or null.
WindowObject* WindowObjectOfClient(HWND client);

}  // namespace vel::windows

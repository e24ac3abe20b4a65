#pragma once
// WM_COMMAND in a runtime window, from its menu, its controls (through the client window) or
// its key tables: identifier 0 is an alert key and queues EVENT:AlertKey; any other identifier
// less 0x4000 is a field number, and the command goes to that control or menu item.

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// Carries out a command; one for a field the window does not have is ignored.
void RouteWindowCommand(WindowObject& window, WPARAM wParam, LPARAM lParam);

}  // namespace vel::windows

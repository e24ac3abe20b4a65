#pragma once
// A window's pre-translation of keyboard and mouse-button messages in its ACCEPT loop, before
// the platform translates and dispatches them: alert keys first (EVENT:PreAlert is sent, which
// the procedure may refuse to let the key through, and EVENT:AlertKey is queued), then the
// controls' hot keys, the menu shortcuts, the toolbar's key tables and last the dialog
// navigation of the client window (Tab and the arrows move between controls).

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// True when the window took the message; the loop must not translate or dispatch it then.
/// Messages other than keyboard (0x100 to 0x108) and mouse-button (0x201 to 0x209) messages
/// are never taken.
bool PreTranslateWindowMessage(WindowObject& window, MSG& message);

}  // namespace vel::windows

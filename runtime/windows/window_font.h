#pragma once
// The window font object: made when a window opens from its definition's font record, or from
// the font of the window that opened it when the definition has none, and released when the
// window closes. Controls without a font of their own take it.

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// Chooses the window's font record (its definition's, else its opener's, else none: the
/// system font) and creates the font object for it at the screen's resolution. `window.opener`
/// and `window.font` (the definition's record) must be set.
void CreateWindowFont(WindowObject& window);

/// Deletes the window's font object.
void ReleaseWindowFont(WindowObject& window);

/// The window's font handle: its own font object, else the system font.
HFONT WindowFontHandle(const WindowObject& window);

}  // namespace vel::windows

#pragma once
// The menu bar strip of a top-level window with a menu, drawn as part of its frame.

#include "win32.h"

namespace vel::platform {

/// Paints the menu bar strip `strip` (window coordinates of the window DC `dc`).
void PaintMenuBarStrip(HWND window, HDC dc, const RECT& strip);

}  // namespace vel::platform

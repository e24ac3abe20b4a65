#pragma once
// The menu bar in a window's non-client area: where its strip is, how its items are laid out
// (one row, left to right; items from the first MF_RIGHTJUSTIFY one on sit at the right end;
// items that do not fit are cut off), how it is drawn, and which item the menu loop shows as
// selected or open.

#include <vector>

#include "platform/user/menu_store.h"
#include "win32.h"

namespace vel::platform {

/// The bar strip of a window in screen coordinates; empty when the window shows no menu bar.
RECT MenuBarStrip(HWND window);

/// The rectangles of a bar's items inside a strip (same coordinates as the strip); a
/// separator gets a small gap.
std::vector<RECT> LayoutMenuBar(const std::vector<MenuItem>& items, const RECT& strip);

/// The bar item under a screen point, or -1.
int MenuBarItemAt(HWND window, POINT screenPoint);

/// Draws a window's menu bar into `strip` (window coordinates) of a window DC: the COLOR_MENU
/// background, the items, the selected one raised or, with its popup open, sunken.
void PaintMenuBar(HWND window, HDC windowDc, const RECT& strip);

/// Draws the bar of a window now, through its window DC.
void RepaintMenuBar(HWND window);

/// Which bar item the menu loop shows selected (-1 none) and whether its popup is open; the
/// bar is redrawn when this changes. One window at a time is tracked.
void SetMenuBarHighlight(HWND window, int item, bool open);

}  // namespace vel::platform

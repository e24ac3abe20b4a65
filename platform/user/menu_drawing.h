#pragma once
// What menu bars and popup menus share when they are measured and drawn: the menu font, item
// labels with their "&" mnemonics, the shortcut text after a tab, and the look of an item that
// is greyed.

#include <string>

#include "win32.h"

namespace vel::platform {

/// The font menus are drawn in (the classic 8-point sans serif). Created once, never freed.
HFONT MenuFont();

/// The text before the first tab (what the item is called, with its "&" prefixes).
std::string MenuLabel(const std::string& text);
/// The text after the first tab (the shortcut shown at the right), or empty.
std::string MenuShortcut(const std::string& text);

/// Width and height of text in the menu font, "&" prefixes removed.
SIZE MeasureMenuText(const std::string& text);

/// Draws text in the menu font inside `rect` with DrawTextA `format` (DT_SINGLELINE and
/// DT_VCENTER are always added). A greyed item not highlighted is embossed: a light copy one
/// pixel down and right under a shadow-coloured one; highlighted it is drawn in `color`.
void DrawMenuText(HDC dc, const std::string& text, RECT rect, UINT format, COLORREF color, bool greyed,
                  bool embossed);

}  // namespace vel::platform

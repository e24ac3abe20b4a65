#pragma once
// A vertical scroll bar in the classic look, as the list controls draw it in their frame:
// where its parts lie for a scroll position, which part a point is over, and its drawing.

#include "win32.h"

namespace vel::platform {

enum class ScrollPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct VerticalScrollBar {
  RECT bar{};
  RECT upArrow{};
  RECT downArrow{};
  /// Empty when there is nothing to scroll or no room for it.
  RECT thumb{};
  bool enabled = false;
};

/// Lays out a bar in `bar` for a list showing `visible` of `count` rows from row `first`.
VerticalScrollBar LayoutVerticalScrollBar(const RECT& bar, int first, int visible, int count);

/// The part of the bar under a point (in the bar's coordinates).
ScrollPart ScrollPartAt(const VerticalScrollBar& layout, POINT point);

/// The first row a thumb dragged so that its top is at `thumbTop` shows.
int FirstRowForThumb(const VerticalScrollBar& layout, int thumbTop, int visible, int count);

/// Draws a scroll arrow button (up or down) as the bar and the combo box show it.
void PaintScrollArrowButton(HDC dc, const RECT& box, bool up, bool enabled, bool pressed);

/// Draws the bar; `pressed` shows that part held down.
void PaintVerticalScrollBar(HDC dc, const VerticalScrollBar& layout, ScrollPart pressed);

}  // namespace vel::platform

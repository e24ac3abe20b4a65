#pragma once
// What a window keeps for each of its scroll bars: range, page, position, the position the
// thumb is dragged to, and whether the bar is shown disabled because nothing can scroll.

#include "win32.h"

namespace vel::platform {

struct ScrollBarState {
  /// A window's bars start with the range 0 to 100 until the program sets one.
  int min = 0;
  int max = 100;
  /// The part of the range one page shows; 0 for none.
  UINT page = 0;
  int pos = 0;
  /// Where the thumb is while the user drags it.
  int trackPos = 0;
  /// The bar stays visible but disabled while the range does not need scrolling
  /// (SIF_DISABLENOSCROLL).
  bool keptDisabled = false;

  /// The largest position: the last page ends at the end of the range.
  int MaxPos() const;
  /// A position moved into [min, MaxPos()].
  int Clamp(int position) const;
  /// Whether the range needs scrolling at all.
  bool CanScroll() const;
};

}  // namespace vel::platform

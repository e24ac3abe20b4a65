#pragma once
// The non-client model of a classic look: frames, caption and menu bar sizes from the window
// styles, what part of a window a point is over, and the system metrics behind both.

#include "win32.h"

namespace vel::platform {

/// Where the parts of a window's non-client area lie, in the coordinates of the window
/// rectangle it was made from. Rectangles of parts the window does not have are empty.
struct NonClientLayout {
  /// Thickness of the outer frame (border, dialog frame or sizing frame).
  int outerFrame = 0;
  /// The caption bar, its line below included; the menu bar strip below it.
  RECT caption{};
  RECT menuBar{};
  /// Inside the caption and menu bar: what WS_EX_CLIENTEDGE / WS_EX_STATICEDGE frame.
  RECT edged{};
  /// Scroll bar areas beside and below the client area.
  RECT verticalScroll{};
  RECT horizontalScroll{};
  RECT client{};
  /// Caption buttons and the system menu icon.
  RECT closeButton{};
  RECT maximizeButton{};
  RECT minimizeButton{};
  RECT systemMenuIcon{};
};

/// Lays out the non-client area of a window rectangle for these styles.
NonClientLayout LayoutNonClient(const RECT& windowRect, DWORD style, DWORD exStyle, bool hasMenu);

/// The client rectangle inside a window rectangle for these styles (what WM_NCCALCSIZE answers
/// by default).
RECT ClientFromWindowRect(const RECT& windowRect, DWORD style, DWORD exStyle, bool hasMenu);

/// The thickness of the frame on each side for these styles.
int FrameThickness(DWORD style, DWORD exStyle);

/// Whether the styles give a caption bar.
bool HasCaption(DWORD style);

/// What WM_NCHITTEST answers by default for a screen point, given the window's screen rect,
/// screen client rect and styles.
LRESULT HitTest(POINT screenPoint, const RECT& windowRect, const RECT& clientRect, DWORD style, DWORD exStyle);

}  // namespace vel::platform

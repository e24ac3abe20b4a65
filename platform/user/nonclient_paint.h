#pragma once
// The default drawing of a window's non-client area in the classic look (frames, the caption
// with its icon, title and buttons, the edges around the client area) and the default handling
// of the caption buttons.

#include "win32.h"

namespace vel::platform {

/// The screen point of a mouse message: client coordinates for client messages, screen
/// coordinates already for non-client ones.
POINT ScreenPointOf(const MSG& msg);

/// What WM_NCPAINT does by default: draws the whole non-client area now.
void PaintNonClient(HWND window);

/// What WM_NCACTIVATE does by default: the frame takes the active or inactive look and is
/// drawn again (unless lParam is -1). Answers TRUE.
LRESULT NcActivate(HWND window, WPARAM active, LPARAM lParam);

/// Draws the caption again if the window has one and shows (after its text changed).
void RedrawCaption(HWND window);

/// The left button went down on a caption button (HTCLOSE, HTMINBUTTON, HTMAXBUTTON): the
/// button shows pressed while the pointer stays over it, and releasing it there sends the
/// matching WM_SYSCOMMAND (SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE or, for a maximised or minimised
/// window, SC_RESTORE). Returns when the button is released.
void TrackCaptionButton(HWND window, WPARAM hit);

}  // namespace vel::platform

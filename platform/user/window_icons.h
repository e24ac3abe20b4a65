#pragma once
// The icons of a window: its own (set with WM_SETICON, big and small) and its class's, and
// which of them the desktop shows for a top-level window.

#include "platform/user/window_class.h"
#include "win32.h"

namespace vel::platform {

/// WM_SETICON: gives a window its own big (ICON_BIG) or small (ICON_SMALL) icon and answers
/// the one it replaces (null when it had none of its own). Any other kind changes nothing.
LRESULT SetOwnIcon(HWND window, WPARAM kind, HICON icon);

/// WM_GETICON: the window's own big or small icon; ICON_SMALL2 falls back from the small icon
/// to the big one and then to the class's icons.
LRESULT OwnIcon(HWND window, WPARAM kind);

/// The icon the desktop shows for a window: its own big icon, else its class's icon, else its
/// own small icon, else its class's small icon (null when there is none).
HICON DesktopIconOf(HWND window);

/// The icon a caption shows: the small one first, then the big one, own before class.
HICON CaptionIconOf(HWND window);

/// Tells the display which icon a top-level window shows now (nothing for a child window).
void ReportDesktopIcon(HWND window);

/// After a class's icon changed, every top-level window of the class shows what it now should.
void ReportClassIcons(const WindowClass* windowClass);

}  // namespace vel::platform

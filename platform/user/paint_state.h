#pragma once
// Update regions: which part of each window must be painted again. The window manager only
// keeps the books and generates WM_PAINT, WM_NCPAINT and WM_ERASEBKGND; drawing is gdi32's,
// which plugs in through WindowDcProvider.

#include "platform/user/window_tree.h"
#include "win32.h"

namespace vel::platform {

/// gdi32's side of painting: device contexts for windows and the background fill.
class WindowDcProvider {
 public:
  virtual ~WindowDcProvider() = default;
  /// A DC for the client area (wholeWindow false) or the whole window, clipped to `clip` in
  /// the same coordinates when given.
  virtual HDC AcquireWindowDc(HWND window, bool wholeWindow, const RECT* clip) = 0;
  virtual void ReleaseWindowDc(HWND window, HDC dc) = 0;
  /// Fills a rectangle of a DC with a class background brush (a brush or a COLOR_* + 1 value).
  virtual void FillBackground(HDC dc, const RECT& rect, HBRUSH brush) = 0;
};

/// Installs gdi32's provider (null removes it). Without one, BeginPaint and GetDC give no DC.
void SetWindowDcProvider(WindowDcProvider* provider);
WindowDcProvider* CurrentWindowDcProvider();

/// Adds a client rectangle (null: the whole client area) to a window's update region.
/// Tree lock held.
void AddToUpdate(Window& window, const RECT* rect, bool erase);
/// The whole window and all its descendants, frame included. Tree lock held.
void InvalidateWholeWindow(Window& window);
/// The area a child covered (in its parent's client coordinates) in its parent and siblings.
/// Tree lock held.
void InvalidateParentArea(Window& child, const RECT& rectInParent);
/// The bounding rectangle of a window's update region (empty when nothing is due).
RECT UpdateBounds(const Window& window);

/// The first window of the thread (topmost first, parents before children) that is visible and
/// has something to paint; limited to `filter` and its descendants when given.
HWND WindowNeedingPaint(DWORD threadId, HWND filter);

}  // namespace vel::platform

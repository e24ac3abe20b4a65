#pragma once
// The pixels of top-level windows: one 32-bit framebuffer per top-level window, as large as
// the whole window, which the window and all its children draw into through window DCs and
// which a display backend shows (or a test writes to PNG).

#include <memory>

#include "platform/gdi/surface.h"
#include "win32.h"

namespace vel::platform {

/// The framebuffer of a top-level window at the given size, made on first use. A new size
/// gives a new framebuffer holding what fits of the old one (the rest is black); DCs already
/// handed out keep drawing into the surface they were made with.
std::shared_ptr<Surface> TopLevelFramebuffer(HWND topLevel, int width, int height);
/// The framebuffer a top-level window has now, or null.
std::shared_ptr<Surface> FindTopLevelFramebuffer(HWND topLevel);
/// Forgets a destroyed window's framebuffer.
void DropTopLevelFramebuffer(HWND topLevel);

/// A copy of part of a surface (clipped to the surface).
std::unique_ptr<Surface> CropSurface(const Surface& surface, const RECT& area);

}  // namespace vel::platform

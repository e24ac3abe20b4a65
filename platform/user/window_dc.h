#pragma once
// Device contexts for windows, drawing into their top-level window's framebuffer, and PNG
// snapshots of any window with its children.

#include <memory>
#include <string>

#include "platform/gdi/surface.h"

#include "platform/user/paint_state.h"

namespace vel::platform {

/// The provider BeginPaint, GetDC and GetWindowDC use unless another is installed.
WindowDcProvider& GdiWindowDcs();

/// Writes what a window (frame and children included) shows to a PNG file; false when the
/// window is unknown, has never been drawn, or the file cannot be written.
bool SnapshotWindow(HWND window, const std::string& path);

/// Writes the whole screen to a PNG file: the visible top-level windows, bottom to top, on
/// black. False when the file cannot be written.
bool WriteScreenPng(const std::string& path);

/// What a window (frame and children included) shows, cropped from its top-level framebuffer;
/// null when the window is unknown or has never been drawn.
std::unique_ptr<Surface> WindowPixels(HWND window);

}  // namespace vel::platform

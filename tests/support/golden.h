#pragma once
// Golden-image comparison shared by every test binary that checks pixels. The goldens live in
// $VELMORA_TEST_DATA/golden/<name>.png. VELMORA_REBASELINE=1 rewrites them from what is drawn
// now; on a mismatch the actual image, a difference image and a copy of the expected one are
// written to golden-failures/ in the working directory.

#include <memory>
#include <string>

#include "platform/gdi/surface.h"
#include "win32.h"

namespace vel::platform::testing {

/// The font file every golden with text renders with, so that goldens do not change with the
/// fonts a machine has installed.
inline const char* PinnedFontPath() { return "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"; }

/// Compares pixels (colour only, alpha ignored) with the golden of this name; returns an
/// empty string when they match, else a description of the failure that names the files
/// written for inspection.
std::string CompareWithGolden(const Surface& actual, const std::string& name);

/// What a window shows right now (frame and children included), cropped from its top-level
/// framebuffer; null when the window is unknown or has never been drawn.
std::unique_ptr<Surface> CaptureWindowPixels(HWND window);

/// Captures a window and compares it with a golden.
std::string CompareWindowWithGolden(HWND window, const std::string& name);

}  // namespace vel::platform::testing

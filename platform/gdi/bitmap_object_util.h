#pragma once
// Helpers shared by the bitmap calls, the blits and the icon code.

#include <memory>

#include "platform/gdi/device_context.h"

namespace vel::platform {

/// A new device-dependent bitmap (black), or null for a bad size.
std::shared_ptr<BitmapObject> MakeBitmap(int width, int height, bool monochrome);

/// Re-reads a DIB section of fewer than 32 bits per pixel from its caller-visible bits, so
/// what the program wrote there is what GDI reads.
void RefreshFromDibBits(BitmapObject& bitmap);

}  // namespace vel::platform

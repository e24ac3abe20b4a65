#pragma once
// Helpers shared by the bitmap calls, the blits and the icon code.

#include <memory>

#include "platform/gdi/device_context.h"

namespace vel::platform {

/// A new device-dependent bitmap (black), or null for a bad size.
std::shared_ptr<BitmapObject> MakeBitmap(int width, int height, bool monochrome);

/// Re-reads a DIB section of fewer than 32 bits per pixel from its caller-visible bits, so
/// what the program wrote there is what GDI reads. A section drawn into since its last flush
/// is flushed instead, so the drawing is not lost.
void RefreshFromDibBits(BitmapObject& bitmap);

/// Notes that GDI drew into a bitmap (only DIB sections of fewer than 32 bpp care).
void MarkDrawn(BitmapObject& bitmap);
/// Writes what GDI drew into a DIB section of fewer than 32 bpp back into its bits.
void FlushDibSection(BitmapObject& bitmap);
/// Flushes every DIB section drawn into since its last flush (GdiFlush).
void FlushAllDibSections();

}  // namespace vel::platform

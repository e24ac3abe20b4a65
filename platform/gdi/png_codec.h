#pragma once
// PNG through libpng: writing surfaces (snapshots, golden images) and reading PNG data (icon
// entries, golden images). Reading is bounded: dimensions beyond a limit are refused before
// anything is allocated.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"

namespace vel::platform {

/// Encodes a surface as an 8-bit RGB PNG (or RGBA when `withAlpha`, taking the top byte).
std::vector<uint8_t> EncodePng(const Surface& surface, bool withAlpha = false);
/// Writes a surface to a PNG file; false on an I/O error.
bool WritePngFile(const Surface& surface, const std::string& path);
/// Decodes PNG data into a surface whose pixels carry alpha in the top byte; null for bad
/// data or an image larger than `maxDimension` either way.
std::unique_ptr<Surface> DecodePng(const uint8_t* data, size_t size, int maxDimension = 4096);
/// Reads a PNG file (null when missing or bad).
std::unique_ptr<Surface> ReadPngFile(const std::string& path);

}  // namespace vel::platform

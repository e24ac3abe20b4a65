#pragma once
// Decoding the run-length coded rows of RLE8 and RLE4 bitmaps into plain rows.

#include <cstddef>
#include <cstdint>

namespace vel::images {

/// Decodes `size` bytes of coded data into `rows` (bottom-up rows of `stride` bytes, 8 or 4
/// bits per pixel as `fourBit` says; for 4 bits they must be cleared first, for 8 every byte is
/// written). Runs that reach past the right edge are cut there, moves past the last row end
/// the picture, and pixels the coding skips or never reaches are colour 0.
void DecodeBmpRle(const std::uint8_t* data, std::size_t size, bool fourBit, int width, int height,
                  std::size_t stride, std::uint8_t* rows);

}  // namespace vel::images

#pragma once
// How large a decoded picture may be. Every kind checks a picture's size against these limits
// before it allocates anything for it, so a small hostile file can never ask for unbounded
// memory.

#include <cstddef>
#include <cstdint>

namespace vel::images {

/// Largest width or height of any picture.
constexpr int kMaxImageDimension = 16384;

/// The most pixels a decoded picture may have; kMaxImageDimension squared unless lowered
/// (fuzzing harnesses lower it to keep each run small).
std::uint64_t DecodedPixelLimit();
void SetDecodedPixelLimit(std::uint64_t pixels);

/// True when a picture of this size may be decoded: both sides from 1 to kMaxImageDimension
/// and the pixel count within the limit.
bool PictureSizeAllowed(std::int64_t width, std::int64_t height);

/// Bytes in one row of `width` pixels of `bitCount` bits, padded to a multiple of 4 as the
/// BMP layout stores rows. Callers check the size first, so this cannot overflow.
constexpr std::size_t RowStride(int width, int bitCount) {
  return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32) * 4;
}

}  // namespace vel::images

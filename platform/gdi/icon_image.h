#pragma once
// One icon or cursor image as drawn: colour pixels, an AND mask, and alpha when the image has
// it. Decoded from the image format icon files and RT_ICON/RT_CURSOR resources share (a DIB
// of doubled height holding the XOR image and then the AND mask, or a PNG stream).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vel::platform {

struct IconImage {
  int width = 0;
  int height = 0;
  /// 0xAARRGGBB, top row first; alpha is meaningful only when `hasAlpha`.
  std::vector<uint32_t> color;
  /// One byte per pixel, 1 where the AND mask keeps the screen (transparent or inverting).
  std::vector<uint8_t> mask;
  bool hasAlpha = false;
  /// The bit depth it was stored with (for choosing between entries).
  int bitCount = 32;

  uint32_t Color(int x, int y) const { return color[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
  bool Masked(int x, int y) const { return mask[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] != 0; }
};

/// Largest icon side accepted from outside data.
constexpr int kMaxIconDimension = 1024;

/// Decodes one image from `size` bytes; nothing for malformed, truncated or oversized data.
std::optional<IconImage> DecodeIconImage(const uint8_t* data, size_t size);

/// An image of the given size, fully transparent.
IconImage BlankIconImage(int width, int height);

}  // namespace vel::platform

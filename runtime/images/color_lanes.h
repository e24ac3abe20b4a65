#pragma once
// The loops of the 256-colour reduction that every colour goes through, sixteen colours at a
// time on processors with 512-bit vectors and one at a time on the others; both give the same
// results.

#include <cstddef>
#include <cstdint>

#include "runtime/images/median_cut.h"

namespace vel::images {

/// Sixteen colours at a time where the processor can (the default), or one at a time.
enum class ColorLanes { kWide, kOne };
/// Whether this processor takes sixteen colours at a time.
bool WideColorLanes();

/// Copies `count` colours (at least one) from `from` to `to`: those for which `first` holds to
/// the front, the others to the back, each part in no particular order; answers how many went to
/// the front. Every colour is written at both ends and the end it does not belong to is written
/// over by the next, so there is no branch on the colours and no load waits for a store.
template <typename Predicate>
std::uint32_t DivideColors(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count, Predicate first) {
  std::ptrdiff_t low = 0;
  std::ptrdiff_t high = static_cast<std::ptrdiff_t>(count) - 1;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t color = from[i];
    bool isFirst = first(color);
    to[low] = color;
    to[high] = color;
    low += isFirst;
    high -= !isFirst;
  }
  return static_cast<std::uint32_t>(low);
}

/// DivideColors by one channel: those whose channel at
/// `shift` is at most `limit` to the front, the others to the back, each part in no particular
/// order. Answers how many went to the front.
std::uint32_t DivideByChannel(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count, unsigned shift,
                              std::uint32_t limit, ColorLanes lanes = ColorLanes::kWide);

/// DivideColors with the greys (red = green = blue) first.
std::uint32_t DivideGreysFirst(const std::uint32_t* from, std::uint32_t* to, std::uint32_t count,
                               ColorLanes lanes = ColorLanes::kWide);

/// Adds up each channel (red, green, blue) of `count` colours and the channel's squares.
void AddUpChannels(const std::uint32_t* colors, std::uint32_t count, std::uint64_t sum[3], std::uint64_t squares[3],
                   ColorLanes lanes = ColorLanes::kWide);

/// `count` pixels of 3 or 4 bytes each (blue, green, red, then a byte that is not looked at) as
/// 0xRRGGBB; no byte past the last pixel's is read.
void PixelColors(const std::uint8_t* pixels, std::size_t count, std::size_t bytesPerPixel, std::uint32_t* colors,
                 ColorLanes lanes = ColorLanes::kWide);

/// Writes the colours whose bits are set in `words` (bit b of word w is colour 64 w + b) to
/// `out` in ascending order, and answers how many there were. `out` must have room for
/// kListSlack colours beyond them.
std::size_t ListColors(const DistinctColorWord* words, std::size_t count, std::uint32_t* out,
                       ColorLanes lanes = ColorLanes::kWide);
constexpr std::size_t kListSlack = 16;

}  // namespace vel::images

#pragma once
// The grey a colour becomes in the disabled look of a picture: the average of its red, green
// and blue brought to one of five levels.

#include <cstdint>

namespace vel::images {

constexpr std::uint8_t GreyLevel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  int average = (red + green + blue) / 3;
  if (average < 51) return 0;
  if (average < 102) return 64;
  if (average < 153) return 128;
  if (average < 204) return 192;
  return 255;
}

}  // namespace vel::images

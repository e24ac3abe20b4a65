#pragma once
// The runtime's colour values: -1 for no colour, a value with bit 31 set for a system colour
// (its index in the low 16 bits), anything else red, green and blue in the low 24 bits (red
// lowest), used as a palette-relative colour.

#include <cstdint>

#include "win32.h"

namespace vel::images {

using ColorValue = std::int32_t;

/// No colour: a null brush.
constexpr ColorValue kNoColor = -1;

/// The colour value of a system colour index (COLOR_WINDOW ...).
constexpr ColorValue SystemColorValue(int index) {
  return static_cast<ColorValue>(0x80000000u | static_cast<std::uint32_t>(index & 0xFFFF));
}

constexpr bool IsNoColor(ColorValue value) { return value == kNoColor; }
constexpr bool IsSystemColor(ColorValue value) { return value != kNoColor && (static_cast<std::uint32_t>(value) & 0x80000000u) != 0; }
constexpr int SystemColorIndex(ColorValue value) { return static_cast<int>(static_cast<std::uint32_t>(value) & 0xFFFF); }

/// The plain red, green and blue a value stands for now (a system colour's current colour);
/// black for no colour.
COLORREF RgbOf(ColorValue value);

/// The COLORREF to draw a value with: the system colour's current colour, or the value as a
/// palette-relative colour.
COLORREF DrawingColorOf(ColorValue value);

}  // namespace vel::images

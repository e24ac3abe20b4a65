#pragma once
// Conversion of a window definition's positions and sizes from the window's unit to pixels.

#include <cstdint>

#include "runtime/windows/definition_types.h"

namespace vel::windows {

/// value * multiplier / divisor rounded to the nearest integer (halves away from zero), computed
/// without intermediate overflow; a result beyond the int32 range is clamped to it. A divisor
/// of 0 gives 0.
std::int32_t RoundedMulDiv(std::int32_t value, std::int32_t multiplier, std::int32_t divisor);

/// The average character width of a font from the extent of the 52 letters "A".."Z", "a".."z":
/// ((extent / 26) + 1) / 2 in integer arithmetic.
std::int32_t AverageCharWidthFromExtent(std::int32_t extentOf52Letters);

/// Milliseconds for a time a definition gives in hundredths of a second (timers, button delay
/// and repeat): value x 10. Zero and negative values give 0 (no timer); results beyond 32 bits
/// are clamped.
std::uint32_t HundredthsToMilliseconds(std::int64_t hundredths);

/// The device and font facts a conversion needs; the caller that holds a device context
/// measures them (the window font's metrics and the device's dots per inch).
struct UnitMetrics {
  std::int32_t averageCharWidth = 0;  ///< see AverageCharWidthFromExtent
  std::int32_t charHeight = 0;        ///< the font's full cell height
  std::int32_t dotsPerInchX = 96;
  std::int32_t dotsPerInchY = 96;
  bool report = false;                ///< unit 0x300 means points on a report, pixels on a window
};

/// Converts between a window's unit and pixels. kNotGiven passes through unchanged.
class UnitConverter {
 public:
  /// `flags` are the window's (or report's) flags; only the unit bits (mask 0x300) count.
  UnitConverter(std::uint32_t flags, const UnitMetrics& metrics);

  std::int32_t ToPixelsX(std::int32_t value) const { return Convert(value, m_multiplierX, m_divisorX); }
  std::int32_t ToPixelsY(std::int32_t value) const { return Convert(value, m_multiplierY, m_divisorY); }
  std::int32_t FromPixelsX(std::int32_t pixels) const { return Convert(pixels, m_divisorX, m_multiplierX); }
  std::int32_t FromPixelsY(std::int32_t pixels) const { return Convert(pixels, m_divisorY, m_multiplierY); }
  /// x and width horizontally, y and height vertically.
  Rect ToPixels(const Rect& rect) const;

  Unit UnitKind() const { return m_unit; }

 private:
  static std::int32_t Convert(std::int32_t value, std::int32_t multiplier, std::int32_t divisor);

  Unit m_unit;
  std::int32_t m_multiplierX = 1;
  std::int32_t m_divisorX = 1;
  std::int32_t m_multiplierY = 1;
  std::int32_t m_divisorY = 1;
};

}  // namespace vel::windows

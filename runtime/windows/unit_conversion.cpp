#include "runtime/windows/unit_conversion.h"

#include <cstdlib>
#include <limits>

namespace vel::windows {

std::int32_t RoundedMulDiv(std::int32_t value, std::int32_t multiplier, std::int32_t divisor) {
  if (divisor == 0) return 0;
  std::int64_t product = static_cast<std::int64_t>(value) * multiplier;
  std::int64_t magnitude = std::llabs(product);
  std::int64_t divisorMagnitude = std::llabs(static_cast<std::int64_t>(divisor));
  std::int64_t quotient = (magnitude + divisorMagnitude / 2) / divisorMagnitude;
  if ((product < 0) != (divisor < 0)) quotient = -quotient;
  if (quotient > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (quotient < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(quotient);
}

std::int32_t AverageCharWidthFromExtent(std::int32_t extentOf52Letters) { return (extentOf52Letters / 26 + 1) / 2; }

std::uint32_t HundredthsToMilliseconds(std::int64_t hundredths) {
  if (hundredths <= 0) return 0;
  if (hundredths > std::numeric_limits<std::uint32_t>::max() / 10) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(hundredths * 10);
}

UnitConverter::UnitConverter(std::uint32_t flags, const UnitMetrics& metrics)
    : m_unit(static_cast<Unit>(flags & kUnitMask)) {
  auto perInch = [&](std::int32_t divisor) {
    m_multiplierX = metrics.dotsPerInchX;
    m_multiplierY = metrics.dotsPerInchY;
    m_divisorX = m_divisorY = divisor;
  };
  switch (m_unit) {
    case Unit::DialogUnit:
      m_multiplierX = metrics.averageCharWidth * 2;
      m_multiplierY = metrics.charHeight;
      m_divisorX = m_divisorY = 8;
      break;
    // The millimetre is a 25th of an inch, as the original runtime counts it, not 25.4.
    case Unit::Millimetre: perInch(25); break;
    case Unit::ThousandthInch: perInch(1000); break;
    // Points on a report; on a window the unit is the pixel and the scale stays 1.
    case Unit::PointOrPixel:
      if (metrics.report) perInch(72);
      break;
  }
}

std::int32_t UnitConverter::Convert(std::int32_t value, std::int32_t multiplier, std::int32_t divisor) {
  if (value == kNotGiven) return kNotGiven;
  std::int32_t result = RoundedMulDiv(value, multiplier, divisor);
  // A result that lands on the "not given" marker would change its meaning; keep it a number.
  return result == kNotGiven ? kNotGiven + 1 : result;
}

Rect UnitConverter::ToPixels(const Rect& rect) const {
  return Rect{ToPixelsX(rect.x), ToPixelsY(rect.y), ToPixelsX(rect.width), ToPixelsY(rect.height)};
}

}  // namespace vel::windows

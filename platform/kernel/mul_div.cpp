// MulDiv: the scaling every caller of the platform uses for points, dialog units and the like.

#include <cstdint>
#include <limits>

#include "win32.h"

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
  std::int64_t divisor = nDenominator;
  // Round half away from zero: move the magnitude half a divisor further before truncating.
  bool negative = (product < 0) != (divisor < 0);
  std::uint64_t magnitude =
      product < 0 ? static_cast<std::uint64_t>(-(product + 1)) + 1 : static_cast<std::uint64_t>(product);
  std::uint64_t divisorMagnitude =
      divisor < 0 ? static_cast<std::uint64_t>(-divisor) : static_cast<std::uint64_t>(divisor);
  std::uint64_t quotient = (magnitude + divisorMagnitude / 2) / divisorMagnitude;
  // The most negative int is refused too, as the reference implementation does.
  if (quotient > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) return -1;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(quotient)) : static_cast<int>(quotient);
}

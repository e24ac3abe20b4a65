// Long division of decimal values (declared in decimal_value.h).
//
// The quotient is the integer division |dividend| * 10^32 / |divisor| of both magnitudes in
// units of the 32nd place, which is exact up to that place: the dividend's limbs and then two
// zero limbs are fed to a long division (decimal_words.h), whose last four quotient limbs are
// the result's and whose earlier ones lie above position 63 and are lost. The 32nd place then
// decides the rounding to 31.

#include "runtime/values/decimal_value.h"
#include "runtime/values/decimal_words.h"

namespace vel::values {
namespace {

constexpr int kQuotientPlaces = 31;

}  // namespace

DecimalValue DivideValues(const DecimalValue& dividend, const DecimalValue& divisor) {
  if (!ValueIsNonZero(divisor) || !ValueIsNonZero(dividend)) {
    return ValueZero();
  }
  constexpr int kLimbs = DecimalValue::kLimbs;
  uint64_t dividendLimbs[kLimbs];
  uint64_t divisorLimbs[kLimbs];
  MagnitudeLimbs(dividend, dividendLimbs);
  MagnitudeLimbs(divisor, divisorLimbs);
  const words::LongDivisor by(divisorLimbs);
  words::Remainder remainder = {};
  // Fed from the top: the dividend's limbs 3 to 0, then the two zero limbs of the 10^32.
  uint64_t quotient[kLimbs] = {};
  for (int step = 0; step < kLimbs + DecimalValue::kUnitsLimb; ++step) {
    const int limb = kLimbs - 1 - step;  // the dividend limb fed, below 0 for the zeros
    const uint64_t quotientLimb = by.Step(remainder, limb >= 0 ? dividendLimbs[limb] : 0);
    const int position = limb + DecimalValue::kUnitsLimb;  // the quotient limb it yields
    if (position < kLimbs) {
      quotient[position] = quotientLimb;
    }
  }
  RoundMagnitude(quotient, kQuotientPlaces);
  return ValueFromMagnitude(quotient, ValueIsNegative(dividend) != ValueIsNegative(divisor));
}

}  // namespace vel::values

#include "runtime/values/decimal_arithmetic.h"

#include "runtime/values/decimal_value.h"

namespace vel::values {

// The arithmetic itself runs on the decimal stack's values (decimal_value.h); these give it to
// callers that hold digits.

void AddDecimals(DecimalEntry& second, const DecimalEntry& top) {
  DecimalValue sum = PackDecimal(second);
  AddValues(sum, PackDecimal(top));
  second = UnpackDecimal(sum);
}

void SubtractDecimals(DecimalEntry& second, const DecimalEntry& top) {
  DecimalValue difference = PackDecimal(second);
  SubtractValues(difference, PackDecimal(top));
  second = UnpackDecimal(difference);
}

DecimalEntry MultiplyDecimals(const DecimalEntry& a, const DecimalEntry& b) {
  return UnpackDecimal(MultiplyValues(PackDecimal(a), PackDecimal(b)));
}

DecimalEntry DivideDecimals(const DecimalEntry& dividend, const DecimalEntry& divisor) {
  return UnpackDecimal(DivideValues(PackDecimal(dividend), PackDecimal(divisor)));
}

DecimalEntry PowerDecimal(const DecimalEntry& base, int32_t exponent) { return UnpackDecimal(PowerValue(PackDecimal(base), exponent)); }

void RoundDecimal(DecimalEntry& entry, int places) {
  DecimalValue value = PackDecimal(entry);
  RoundValue(value, places);
  entry = UnpackDecimal(value);
}

}  // namespace vel::values

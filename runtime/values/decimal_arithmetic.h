#pragma once

#include <cstdint>

#include "runtime/values/decimal_entry.h"

namespace vel::values {

// Exact decimal arithmetic on unpacked entries, for callers that hold digits; the decimal
// stack works on DecimalValue directly (decimal_value.h), under the same rules. Nothing here
// fails or reports an error: digits that would fall above position 63 are lost, a zero divisor
// gives 0, and a result too small for position 0 gives 0. Every result is normalised.

/// second = second + top. A carry beyond position 63 is lost.
void AddDecimals(DecimalEntry& second, const DecimalEntry& top);

/// second = second - top.
void SubtractDecimals(DecimalEntry& second, const DecimalEntry& top);

/// Returns a * b. Product digits below position 0 are dropped without rounding; digits above
/// position 63 are lost.
DecimalEntry MultiplyDecimals(const DecimalEntry& a, const DecimalEntry& b);

/// Returns dividend / divisor rounded half up (away from zero) to 31 decimal places; integer
/// digits above position 63 are lost; a zero divisor gives 0.
DecimalEntry DivideDecimals(const DecimalEntry& dividend, const DecimalEntry& divisor);

/// Returns base to the power `exponent`: 1 for 0 (even for a zero base), repeated squaring for a
/// positive exponent, and 1 divided by the positive power for a negative one.
DecimalEntry PowerDecimal(const DecimalEntry& base, int32_t exponent);

/// Rounds the magnitude half up to `places` decimal places (clamped to 0-32), so halves round
/// away from zero; a carry beyond position 63 is lost.
void RoundDecimal(DecimalEntry& entry, int places);

}  // namespace vel::values

#pragma once

#include "runtime/values/decimal_entry.h"

namespace vel::values {

/// Places a `Float64` on the decimal grid: its exact binary value rounded half up to 15
/// significant digits, placed by its decimal exponent. Digits above position 63 are lost and
/// digits below position 0 are dropped (this is where values below 10 to the power -17 lose
/// precision: their 15 digits are cut at the 32nd place). Infinities and NaNs give 0.
DecimalEntry DecimalFromFloat64(double value);

/// Converts an entry to a `Float64`: up to 16 leading digits are accumulated exactly, the rest
/// are ignored, and the result is scaled by exact powers of ten.
double DecimalToFloat64(const DecimalEntry& entry);

}  // namespace vel::values

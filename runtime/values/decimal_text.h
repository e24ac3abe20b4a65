#pragma once

#include <cstddef>

#include "runtime/values/decimal_entry.h"
#include "runtime/values/decimal_value.h"

namespace vel::values {

/// Longest text `DecimalToText` writes: a sign, 32 integer digits, a point, 32 fraction digits.
inline constexpr size_t kMaxDecimalTextLength = 66;

/// Reads a number from text. Leading blanks (byte 32 only) are skipped; a "-" makes the number
/// negative (no other sign is accepted); integer digits follow, then optionally "." and
/// fraction digits; only after the point may "e" or "E", an optional "-" and exponent digits
/// follow, which scale the number by that power of ten. Anything else, the end of `length` or a
/// zero byte ends the number; text without digits gives 0. Of more than 32 integer digits the
/// lowest 32 are kept (the higher ones are lost, as in any overflow); fraction digits after the
/// 32nd are ignored. The exponent shifts the digits, so digits moved above position 63 are
/// lost and those moved below position 0 are dropped without rounding.
DecimalEntry DecimalFromText(const char* text, size_t length);

/// Reads a number from text as DecimalFromText does, into the decimal stack's form.
DecimalValue ValueFromText(const char* text, size_t length);

/// Writes the plain text of `entry` (at most kMaxDecimalTextLength bytes, no terminator) and
/// returns its length: "-" for a negative number, at least one integer digit, and "." with the
/// fraction digits only when there is a fraction; never trailing fraction zeros or an exponent.
size_t DecimalToText(const DecimalEntry& entry, char* buffer);

}  // namespace vel::values

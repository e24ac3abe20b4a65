#pragma once

// The meeting points of the decimal stack and the string stack: numbers that travel as text.

#include <cstdint>

namespace vel::values {

/// Pops the top of the calling thread's decimal stack and pushes its plain text (see
/// DecimalToText) onto its string stack, detached from any buffer.
void PushDecimal();

/// Pops the top of the calling thread's string stack and converts it to an `Int32` as a decimal:
/// at most its first 99 characters are read (up to a zero byte) by the number grammar of the
/// decimal stack, and the fraction is truncated (integer digits beyond 32 bits keep their low
/// 32 bits). The decimal stack is left untouched, even when it is full.
int32_t PopToLong();

/// Pops the top of the calling thread's string stack and converts it for an integer variable of
/// any kind: the text is read as a `Float64` as `PopToReal` reads it and truncated toward zero,
/// with the near-integer correction of TextToInteger (so 2.9999999999999996 gives 3). Store
/// the result with StoreIntegerBits.
int64_t PopToInteger();

}  // namespace vel::values

#pragma once

#include <cstdint>

#include "runtime/values/decimal_entry.h"

namespace vel::values {

// Byte formats of `Decimal` and `PackedDecimal` variables of `size` bytes and `places` decimal
// places: 2 * size - 1 digit nibbles, most significant first, the last `places` of them the
// fraction. A `Decimal` has its sign in the high nibble of the first byte (0 positive, written
// 15 for negative, any nonzero value read as negative); a `PackedDecimal` has it in the low
// nibble of the last byte (written 15 positive and 13 negative, only 13 read as negative).
// A digit nibble above 9 in corrupt storage reads as 0. A size of 0 or a null address reads
// 0 and writes nothing.

/// Reads a `Decimal` variable. Digits that fall outside the 64 positions are ignored.
DecimalEntry ReadDecimalStorage(const void* address, uint32_t size, uint32_t places);

/// Reads a `PackedDecimal` variable.
DecimalEntry ReadPackedStorage(const void* address, uint32_t size, uint32_t places);

/// Writes `value` into a `Decimal` variable, rounded half up (away from zero) to its places;
/// integer digits beyond its capacity are dropped. A value whose written digits are all 0 is
/// written with a positive sign.
void WriteDecimalStorage(void* address, uint32_t size, uint32_t places, const DecimalEntry& value);

/// Writes `value` into a `PackedDecimal` variable under the same rules.
void WritePackedStorage(void* address, uint32_t size, uint32_t places, const DecimalEntry& value);

}  // namespace vel::values

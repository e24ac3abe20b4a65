#pragma once

#include <cstdint>
#include <cstring>

namespace vel::values {

/// One exact decimal number as digits: an unpacked fixed-point number of 64 decimal digits, the
/// form text, storage and pictures read and write (the decimal stack holds the same numbers
/// as DecimalValue, decimal_value.h).
/// Position i of `digits` has weight 10 to the power (i - 32): positions 32 to 63 are the 32
/// integer digits (32 = units), positions 0 to 31 the 32 fraction digits (31 = tenths).
///
/// Only positions `low` to `high` are meaningful; every routine here also keeps the digits
/// outside that range at 0, which lets conversions work on eight digits at a time without
/// masking. Zero is low = high = 32 with digit 0 and sign 0.
struct DecimalEntry {
  static constexpr int kPositions = 64;
  static constexpr int kUnits = 32;

  alignas(8) uint8_t digits[kPositions];
  uint8_t sign;  ///< 1 = negative.
  uint8_t low;   ///< Lowest position in use.
  uint8_t high;  ///< Highest position in use.
};

/// Returns the entry for zero. Inline: every conversion and operation starts from it, and a
/// call that returns 72 bytes through memory costs more than the zeroing itself.
inline DecimalEntry DecimalZero() {
  DecimalEntry zero;
  std::memset(zero.digits, 0, sizeof zero.digits);
  zero.sign = 0;
  zero.low = DecimalEntry::kUnits;
  zero.high = DecimalEntry::kUnits;
  return zero;
}

/// Recomputes `low` and `high` from the digits (trimming zeros at both ends) and clears the
/// sign of a zero. Digits must already be 0 outside the range the caller wrote.
void NormaliseDecimal(DecimalEntry& entry);

/// True when any digit is nonzero.
bool DecimalIsNonZero(const DecimalEntry& entry);

/// Orders |a| against |b|: -1, 0 or 1.
int CompareMagnitudes(const DecimalEntry& a, const DecimalEntry& b);

/// Orders a against b by value: -1, 0 or 1. Zero is never negative, so -0 cannot occur.
int CompareDecimals(const DecimalEntry& a, const DecimalEntry& b);

/// Moves every digit `delta` positions up (negative: down), multiplying the value by 10 to the
/// power `delta`; digits pushed above position 63 or below position 0 are lost. Normalises.
void ShiftDecimal(DecimalEntry& entry, int delta);

/// Makes an entry holding the magnitude of `value` with the given sign (normalised).
DecimalEntry DecimalFromUInt64(uint64_t magnitude, bool negative);

}  // namespace vel::values

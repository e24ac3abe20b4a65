#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace vel::values {

/// One exact decimal work value: an unpacked fixed-point number of 64 decimal digits.
/// Position i of `digits` has weight 10 to the power (i - 32): positions 32 to 63 are the 32
/// integer digits (32 = units), positions 0 to 31 the 32 fraction digits (31 = tenths).
///
/// Only positions `low` to `high` are meaningful; every routine here also keeps the digits
/// outside that range at 0, which lets the arithmetic work on eight digits at a time without
/// masking. Zero is low = high = 32 with digit 0 and sign 0.
struct DecimalEntry {
  static constexpr int kPositions = 64;
  static constexpr int kUnits = 32;

  alignas(8) uint8_t digits[kPositions];
  uint8_t sign;  ///< 1 = negative.
  uint8_t low;   ///< Lowest position in use.
  uint8_t high;  ///< Highest position in use.
};

/// Copies an entry as its 64 digits and the 8 bytes after them. An entry is just larger than
/// the 64 bytes compilers copy with plain moves, and the string instructions they use for the
/// whole struct take longer to start than the arithmetic on a short number takes to run.
inline void CopyDecimal(DecimalEntry& target, const DecimalEntry& source) {
  static_assert(sizeof(DecimalEntry) == DecimalEntry::kPositions + 8);
  std::memcpy(target.digits, source.digits, DecimalEntry::kPositions);
  std::memcpy(reinterpret_cast<unsigned char*>(&target) + DecimalEntry::kPositions,
              reinterpret_cast<const unsigned char*>(&source) + DecimalEntry::kPositions, 8);
}

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

/// Sets `low` and `high` from the lowest and highest words that hold a nonzero digit (words w
/// are positions 8w to 8w + 7). Inline: it ends every sum, and costs little more than a call.
inline void SetDecimalRange(DecimalEntry& entry, int bottomWord, int topWord) {
  // Byte k of a word is position 8 * word + k (little-endian load).
  uint64_t top;
  uint64_t bottom;
  std::memcpy(&top, entry.digits + 8 * topWord, sizeof top);
  std::memcpy(&bottom, entry.digits + 8 * bottomWord, sizeof bottom);
  const auto high = static_cast<uint8_t>(8 * topWord + (63 - std::countl_zero(top)) / 8);
  const auto low = static_cast<uint8_t>(8 * bottomWord + std::countr_zero(bottom) / 8);
  // sign, low and high are written as one store (with the padding after them) so that a copy
  // of the entry, which moves those bytes as one word, can take them straight from the store.
  const uint64_t tail = static_cast<uint64_t>(entry.sign) | static_cast<uint64_t>(low) << 8 | static_cast<uint64_t>(high) << 16;
  std::memcpy(reinterpret_cast<unsigned char*>(&entry) + DecimalEntry::kPositions, &tail, sizeof tail);
}

/// Makes `entry` the zero entry's range and sign; its digits must already be 0.
inline void SetDecimalRangeZero(DecimalEntry& entry) {
  entry.sign = 0;
  entry.low = DecimalEntry::kUnits;
  entry.high = DecimalEntry::kUnits;
}

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

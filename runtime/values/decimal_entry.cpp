#include "runtime/values/decimal_entry.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {

namespace {

static_assert(offsetof(DecimalEntry, sign) == DecimalEntry::kPositions && offsetof(DecimalEntry, low) == DecimalEntry::kPositions + 1 &&
              offsetof(DecimalEntry, high) == DecimalEntry::kPositions + 2);

/// Sets `low` and `high` from the lowest and highest words that hold a nonzero digit (words w
/// are positions 8w to 8w + 7).
void SetDecimalRange(DecimalEntry& entry, int bottomWord, int topWord) {
  // Byte k of a word is position 8 * word + k (little-endian load).
  const uint64_t top = lanes::Load(entry.digits + 8 * topWord);
  const uint64_t bottom = lanes::Load(entry.digits + 8 * bottomWord);
  entry.high = static_cast<uint8_t>(8 * topWord + (63 - std::countl_zero(top)) / 8);
  entry.low = static_cast<uint8_t>(8 * bottomWord + std::countr_zero(bottom) / 8);
}

/// Bit w is set when word w of the digits holds a nonzero digit. Testing every word and
/// combining the answers avoids a loop whose exit depends on the digits.
unsigned NonZeroWords(const DecimalEntry& entry) {
  unsigned words = 0;
#pragma GCC unroll 8
  for (int word = 0; word < 8; ++word) {
    words |= (lanes::Load(entry.digits + 8 * word) != 0 ? 1u : 0u) << word;
  }
  return words;
}

}  // namespace

void NormaliseDecimal(DecimalEntry& entry) {
  const unsigned nonZeroWords = NonZeroWords(entry);
  if (nonZeroWords == 0) {
    entry.sign = 0;
    entry.low = DecimalEntry::kUnits;
    entry.high = DecimalEntry::kUnits;
    return;
  }
  SetDecimalRange(entry, std::countr_zero(nonZeroWords), 31 - std::countl_zero(nonZeroWords));
}

bool DecimalIsNonZero(const DecimalEntry& entry) {
  uint64_t any = 0;
  for (int word = 0; word < 8; ++word) {
    any |= lanes::Load(entry.digits + 8 * word);
  }
  return any != 0;
}

int CompareMagnitudes(const DecimalEntry& a, const DecimalEntry& b) {
  // With one digit per byte, the highest byte is the most significant, so whole words
  // compare as unsigned integers.
  for (int word = 7; word >= 0; --word) {
    const uint64_t x = lanes::Load(a.digits + 8 * word);
    const uint64_t y = lanes::Load(b.digits + 8 * word);
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  return 0;
}

int CompareDecimals(const DecimalEntry& a, const DecimalEntry& b) {
  if (a.sign != b.sign) {
    return a.sign ? -1 : 1;
  }
  const int magnitudeOrder = CompareMagnitudes(a, b);
  return a.sign ? -magnitudeOrder : magnitudeOrder;
}

void ShiftDecimal(DecimalEntry& entry, int delta) {
  if (delta == 0) {
    return;
  }
  uint8_t shifted[DecimalEntry::kPositions] = {};
  if (delta > -DecimalEntry::kPositions && delta < DecimalEntry::kPositions) {
    for (int position = entry.low; position <= entry.high; ++position) {
      const int target = position + delta;
      if (target >= 0 && target < DecimalEntry::kPositions) {
        shifted[target] = entry.digits[position];
      }
    }
  }
  std::memcpy(entry.digits, shifted, sizeof shifted);
  NormaliseDecimal(entry);
}

DecimalEntry DecimalFromUInt64(uint64_t magnitude, bool negative) {
  DecimalEntry entry = DecimalZero();
  for (int position = DecimalEntry::kUnits; magnitude != 0 && position < DecimalEntry::kPositions;
       ++position) {
    entry.digits[position] = static_cast<uint8_t>(magnitude % 10);
    magnitude /= 10;
  }
  entry.sign = negative ? 1 : 0;
  NormaliseDecimal(entry);
  return entry;
}

}  // namespace vel::values

#include "runtime/values/decimal_entry.h"

#include <bit>
#include <cstring>

#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {

DecimalEntry DecimalZero() {
  DecimalEntry zero;
  std::memset(zero.digits, 0, sizeof zero.digits);
  zero.sign = 0;
  zero.low = DecimalEntry::kUnits;
  zero.high = DecimalEntry::kUnits;
  return zero;
}

void NormaliseDecimal(DecimalEntry& entry) {
  int topWord = 7;
  while (topWord >= 0 && lanes::Load(entry.digits + 8 * topWord) == 0) {
    --topWord;
  }
  if (topWord < 0) {
    entry.sign = 0;
    entry.low = DecimalEntry::kUnits;
    entry.high = DecimalEntry::kUnits;
    return;
  }
  int bottomWord = 0;
  while (lanes::Load(entry.digits + 8 * bottomWord) == 0) {
    ++bottomWord;
  }
  // Byte k of a word is position 8 * word + k (little-endian load).
  const uint64_t top = lanes::Load(entry.digits + 8 * topWord);
  const uint64_t bottom = lanes::Load(entry.digits + 8 * bottomWord);
  entry.high = static_cast<uint8_t>(8 * topWord + (63 - std::countl_zero(top)) / 8);
  entry.low = static_cast<uint8_t>(8 * bottomWord + std::countr_zero(bottom) / 8);
}

bool DecimalIsNonZero(const DecimalEntry& entry) {
  for (int word = 0; word < 8; ++word) {
    if (lanes::Load(entry.digits + 8 * word) != 0) {
      return true;
    }
  }
  return false;
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

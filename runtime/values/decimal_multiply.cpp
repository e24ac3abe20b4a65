// Long multiplication of decimal entries (declared in decimal_arithmetic.h).
//
// The nine multiples 1 to 9 of the longer operand are computed once by repeated decimal
// addition; each digit of the shorter operand then adds its cached multiple into a column
// accumulator at the digit's offset. The columns are 16-bit counters, so no carry is resolved
// until one final pass: 64 rows of digits of at most 9 stay far below 65536.

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {
namespace {

using ColumnVector = uint16_t __attribute__((vector_size(16)));
constexpr int kVectorLanes = 8;
constexpr int kMultipleDigits = 72;  // 64 digits plus the carry digit, rounded up to 8

ColumnVector LoadColumns(const uint16_t* source) {
  ColumnVector vector;
  std::memcpy(&vector, source, sizeof vector);
  return vector;
}

void StoreColumns(uint16_t* target, ColumnVector vector) { std::memcpy(target, &vector, sizeof vector); }

}  // namespace

DecimalEntry MultiplyDecimals(const DecimalEntry& a, const DecimalEntry& b) {
  DecimalEntry product = DecimalZero();
  if (!DecimalIsNonZero(a) || !DecimalIsNonZero(b)) {
    return product;
  }
  // Position of the product's lowest column: the operands' positions add, less the units.
  const int basePosition = a.low + b.low - DecimalEntry::kUnits;
  if (basePosition >= DecimalEntry::kPositions) {
    return product;  // every digit lies above position 63
  }
  const bool aIsShorter = a.high - a.low <= b.high - b.low;
  const DecimalEntry& rows = aIsShorter ? a : b;
  const DecimalEntry& multiplicand = aIsShorter ? b : a;

  const int multiplicandDigits = multiplicand.high - multiplicand.low + 1;
  // Lanes used by a multiple: its digits plus one carry digit, rounded up to whole vectors.
  const int lanesUsed = (multiplicandDigits + 1 + kVectorLanes - 1) / kVectorLanes * kVectorLanes;

  alignas(16) uint8_t multiples[10][kMultipleDigits];
  std::memset(multiples[1], 0, static_cast<size_t>(lanesUsed));
  std::memcpy(multiples[1], multiplicand.digits + multiplicand.low, static_cast<size_t>(multiplicandDigits));
  for (int factor = 2; factor <= 9; ++factor) {
    uint64_t carry = 0;
    for (int lane = 0; lane < lanesUsed; lane += 8) {
      lanes::Store(multiples[factor] + lane,
                   lanes::AddDigits(lanes::Load(multiples[factor - 1] + lane), lanes::Load(multiples[1] + lane), carry));
    }
  }

  unsigned usedFactors = 0;
  for (int position = rows.low; position <= rows.high; ++position) {
    usedFactors |= 1u << rows.digits[position];
  }
  alignas(16) uint16_t wideMultiples[10][kMultipleDigits];
  for (int factor = 1; factor <= 9; ++factor) {
    if (usedFactors & (1u << factor)) {
      for (int lane = 0; lane < lanesUsed; ++lane) {
        wideMultiples[factor][lane] = multiples[factor][lane];
      }
    }
  }

  // Column k holds the weight of product position basePosition + k. Only the columns the rows
  // reach, and a few above them for the last carries, are used.
  constexpr int kColumns = DecimalEntry::kPositions + kMultipleDigits + 8;
  const int usedColumns = (rows.high - rows.low) + lanesUsed;
  const int lastColumn = std::min(usedColumns + 3, DecimalEntry::kPositions - 1 - basePosition);
  alignas(16) uint16_t columns[kColumns];
  std::memset(columns, 0, sizeof(uint16_t) * static_cast<size_t>(usedColumns + 4));
  for (int position = rows.low; position <= rows.high; ++position) {
    const int factor = rows.digits[position];
    if (factor == 0) {
      continue;
    }
    uint16_t* row = columns + (position - rows.low);
    const uint16_t* multiple = wideMultiples[factor];
    for (int lane = 0; lane < lanesUsed; lane += kVectorLanes) {
      StoreColumns(row + lane, LoadColumns(row + lane) + LoadColumns(multiple + lane));
    }
  }

  // Resolve the carries from the lowest column up. Columns below position 0 only feed their
  // carries upward; columns above position 63 are lost, so the pass stops there.
  uint32_t carry = 0;
  int column = 0;
  for (; column <= lastColumn && basePosition + column < 0; ++column) {
    carry = (columns[column] + carry) / 10;
  }
  for (; column <= lastColumn; ++column) {
    const uint32_t value = columns[column] + carry;
    carry = value / 10;
    product.digits[basePosition + column] = static_cast<uint8_t>(value - carry * 10);
  }
  product.sign = a.sign ^ b.sign;
  NormaliseDecimal(product);
  return product;
}

}  // namespace vel::values

// Long multiplication of decimal entries (declared in decimal_arithmetic.h).
//
// The nine multiples 1 to 9 of the longer operand are computed once, by repeated addition, and
// cached; each digit of the shorter operand then adds its multiple into a row of column
// counters at the digit's offset. Multiples and columns are 16-bit counters that defer every
// carry: a multiple's lane holds up to 81, and 64 rows of those stay below 65536. The carries
// are resolved once at the end.

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {
namespace {

using ColumnVector = uint16_t __attribute__((vector_size(16)));
constexpr int kVectorLanes = 8;
constexpr int kMultipleLanes = 64;
constexpr int kColumns = DecimalEntry::kPositions + kMultipleLanes + 16;
// Up to this many columns a sequential carry pass is cheapest; above it the carries are split
// off all columns at once in a few passes that run eight columns at a time.
constexpr int kSequentialCarryColumns = 40;

ColumnVector LoadColumns(const uint16_t* source) {
  ColumnVector vector;
  std::memcpy(&vector, source, sizeof vector);
  return vector;
}

void StoreColumns(uint16_t* target, ColumnVector vector) { std::memcpy(target, &vector, sizeof vector); }

/// Turns column counters into decimal digits, lowest column first, one carry at a time.
void ResolveCarriesSequentially(const uint16_t* columns, int count, uint8_t* digits) {
  uint32_t carry = 0;
  for (int column = 0; column < count; ++column) {
    const uint32_t value = columns[column] + carry;
    carry = value / 10;
    digits[column] = static_cast<uint8_t>(value - carry * 10);
  }
}

/// Turns all kColumns counters (each at most 64 * 81) into decimal digits. Three passes split
/// every column into its last digit and a carry that moves one column up, which shrinks the
/// counters to at most 15; a fourth split leaves digits and carries of at most 1, which one
/// decimal addition eight digits at a time absorbs.
void ResolveCarriesInPasses(uint16_t (&columns)[kColumns], uint8_t (&digits)[kColumns]) {
  // carriesIn[k] is the carry that column k receives from column k - 1. Every loop runs over
  // all columns with no dependence between them, so the compiler makes vector code of it.
  uint16_t carriesIn[kColumns + 1];
  carriesIn[0] = 0;
  for (int pass = 0; pass < 4; ++pass) {
    for (int column = 0; column < kColumns; ++column) {
      const auto carry = static_cast<uint16_t>(columns[column] / 10);
      carriesIn[column + 1] = carry;
      columns[column] = static_cast<uint16_t>(columns[column] - carry * 10);
    }
    if (pass == 3) {
      break;
    }
    for (int column = 0; column < kColumns; ++column) {
      columns[column] = static_cast<uint16_t>(columns[column] + carriesIn[column]);
    }
  }
  alignas(8) uint8_t carryDigits[kColumns];
  for (int column = 0; column < kColumns; ++column) {
    digits[column] = static_cast<uint8_t>(columns[column]);
    carryDigits[column] = static_cast<uint8_t>(carriesIn[column]);
  }
  uint64_t carry = 0;
  for (int column = 0; column < kColumns; column += 8) {
    lanes::Store(digits + column, lanes::AddDigits(lanes::Load(digits + column), lanes::Load(carryDigits + column), carry));
  }
}

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
  const int lanesUsed = (multiplicandDigits + kVectorLanes - 1) / kVectorLanes * kVectorLanes;
  int largestFactor = 0;
  for (int position = rows.low; position <= rows.high; ++position) {
    largestFactor = std::max<int>(largestFactor, rows.digits[position]);
  }

  alignas(16) uint16_t multiples[10][kMultipleLanes];
  for (int lane = 0; lane < lanesUsed; ++lane) {
    multiples[1][lane] = lane < multiplicandDigits ? multiplicand.digits[multiplicand.low + lane] : 0;
  }
  for (int factor = 2; factor <= largestFactor; ++factor) {
    for (int lane = 0; lane < lanesUsed; lane += kVectorLanes) {
      StoreColumns(multiples[factor] + lane, LoadColumns(multiples[factor - 1] + lane) + LoadColumns(multiples[1] + lane));
    }
  }

  // Column k holds the weight of product position basePosition + k.
  const int usedColumns = (rows.high - rows.low) + lanesUsed;
  const bool sequential = usedColumns <= kSequentialCarryColumns;
  alignas(16) uint16_t columns[kColumns];
  std::memset(columns, 0, sizeof(uint16_t) * static_cast<size_t>(sequential ? usedColumns + 4 : kColumns));
  // Rows are added in eight interleaved passes: consecutive rows of one pass lie a whole
  // vector apart, so every load finds the previous row's store at the same alignment instead of
  // straddling two stores (which the processor cannot forward and has to wait out).
  for (int start = 0; start < kVectorLanes; ++start) {
    for (int position = rows.low + start; position <= rows.high; position += kVectorLanes) {
      const int factor = rows.digits[position];
      if (factor == 0) {
        continue;
      }
      uint16_t* row = columns + (position - rows.low);
      const uint16_t* multiple = multiples[factor];
      for (int lane = 0; lane < lanesUsed; lane += kVectorLanes) {
        StoreColumns(row + lane, LoadColumns(row + lane) + LoadColumns(multiple + lane));
      }
    }
  }

  // Columns below position 0 only feed their carries upward; columns above position 63 are lost.
  alignas(8) uint8_t digits[kColumns];
  if (sequential) {
    ResolveCarriesSequentially(columns, usedColumns + 4, digits);
  } else {
    ResolveCarriesInPasses(columns, digits);
  }
  const int firstColumn = std::max(0, -basePosition);
  const int lastColumn = std::min(sequential ? usedColumns + 3 : kColumns - 1, DecimalEntry::kPositions - 1 - basePosition);
  for (int column = firstColumn; column <= lastColumn; ++column) {
    product.digits[basePosition + column] = digits[column];
  }
  product.sign = a.sign ^ b.sign;
  NormaliseDecimal(product);
  return product;
}

}  // namespace vel::values

// Long multiplication of decimal entries (declared in decimal_arithmetic.h).
//
// Both operands are read as limbs of eight digits (radix 10^8), one per word of the entry, so a
// full-width product takes at most 64 limb products instead of thousands of digit steps. Limb
// products are summed per column without carrying: a product is below 10^16 and a column has at
// most eight of them, which stays below 2^64.

#include <algorithm>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_digit_lanes.h"
#include "runtime/values/decimal_limbs.h"

namespace vel::values {
namespace {

constexpr int kWords = DecimalEntry::kPositions / 8;
// Word w of an entry holds weight 10^(8w - 32), so the product of words i and j lands in
// column i + j with weight 10^(8(i + j) - 64): column k is product word k - kUnitsWords.
constexpr int kUnitsWords = DecimalEntry::kUnits / 8;
// Columns at or above this one hold digits above position 63, which are lost.
constexpr int kColumnsKept = kWords + kUnitsWords;

}  // namespace

DecimalEntry MultiplyDecimals(const DecimalEntry& a, const DecimalEntry& b) {
  DecimalEntry product = DecimalZero();
  // A normalised entry is zero exactly when its highest digit is.
  if (a.digits[a.high] == 0 || b.digits[b.high] == 0) {
    return product;
  }
  const int aFirst = a.low / 8;
  const int aLast = a.high / 8;
  const int bFirst = b.low / 8;
  const int bLast = b.high / 8;
  const int firstColumn = aFirst + bFirst;
  if (firstColumn >= kColumnsKept) {
    return product;  // every digit lies above position 63
  }
  // The product of runs of m and n words has at most m + n words: the column above the highest
  // limb product receives only a carry.
  const int lastColumn = std::min(aLast + bLast + 1, kColumnsKept - 1);

  uint64_t aLimbs[kWords];
  uint64_t bLimbs[kWords];
  for (int word = aFirst; word <= aLast; ++word) {
    aLimbs[word] = limbs::Pack(lanes::Load(a.digits + 8 * word));
  }
  for (int word = bFirst; word <= bLast; ++word) {
    bLimbs[word] = limbs::Pack(lanes::Load(b.digits + 8 * word));
  }

  // Limb products are added into their columns row by row: the inner loop runs over one
  // contiguous run of b's limbs with one limb of a held in a register, and products that land
  // only in lost columns are never formed.
  uint64_t columns[kColumnsKept] = {};
  for (int i = aFirst; i <= aLast && i + bFirst < kColumnsKept; ++i) {
    const uint64_t limb = aLimbs[i];
    uint64_t* row = columns + i;
    const int jLast = std::min(bLast, kColumnsKept - 1 - i);
    for (int j = bFirst; j <= jLast; ++j) {
      row[j] += limb * bLimbs[j];
    }
  }

  // Columns are carried lowest first. Columns below position 0 only feed their carries upward;
  // the carry out of the last kept column is lost. A column plus its carry stays below 2^64:
  // the carry is below 2^30.
  uint64_t carry = 0;
  for (int column = firstColumn; column <= lastColumn; ++column) {
    const uint64_t value = columns[column] + carry;
    carry = value / limbs::kLimbBase;
    const auto limb = static_cast<uint32_t>(value - carry * limbs::kLimbBase);
    if (column >= kUnitsWords) {
      lanes::Store(product.digits + 8 * (column - kUnitsWords), limbs::Unpack(limb));
    }
  }
  product.sign = a.sign ^ b.sign;
  NormaliseDecimal(product);
  return product;
}

}  // namespace vel::values

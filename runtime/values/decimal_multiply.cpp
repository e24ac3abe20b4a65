// Long multiplication of decimal values, and powers by repeated squaring (declared in
// decimal_value.h).
//
// The magnitudes' limbs are multiplied into 128-bit column sums: a limb product is below
// 10^32 and a column has at most four of them. Limb k has weight 10^(16k - 32), so the product
// of limbs i and j lands in column i + j with weight 10^(16(i + j) - 64): column c is result
// limb c - 2. The two columns below only feed their carries upward (the dropped digits), and
// columns from 6 up lie above position 63 and are lost.

#include "runtime/values/decimal_value.h"
#include "runtime/values/decimal_wide.h"

namespace vel::values {
namespace {

constexpr int kLimbs = DecimalValue::kLimbs;
constexpr int kUnitsLimb = DecimalValue::kUnitsLimb;
constexpr int kColumnsKept = kLimbs + kUnitsLimb;
constexpr uint64_t kLimbBase = DecimalValue::kLimbBase;

}  // namespace

DecimalValue MultiplyValues(const DecimalValue& a, const DecimalValue& b) {
  if (!ValueIsNonZero(a) || !ValueIsNonZero(b)) {
    return ValueZero();
  }
  uint64_t aLimbs[kLimbs];
  uint64_t bLimbs[kLimbs];
  MagnitudeLimbs(a, aLimbs);
  MagnitudeLimbs(b, bLimbs);
  // Every limb product that reaches a kept column is formed, zero limbs included: a fixed
  // shape compiles to straight code, where skipping zero limbs costs more in mispredicted
  // branches than the multiplications it saves.
  unsigned __int128 columns[kColumnsKept] = {};
#pragma GCC unroll 4
  for (int i = 0; i < kLimbs; ++i) {
#pragma GCC unroll 4
    for (int j = 0; j < kLimbs; ++j) {
      if (i + j < kColumnsKept) {
        columns[i + j] += wide::MultiplyWords(aLimbs[i], bLimbs[j]);
      }
    }
  }
  // Each column is split into its limb and its carry on its own, so the divisions do not wait
  // for one another: a column is below 4 * 10^32 < 2^109, its high word below 2^45, under the
  // limb base as the division needs. The carries, below 5 * 10^16, are then added in one
  // short pass.
  uint64_t limbs[kColumnsKept];
  uint64_t carries[kColumnsKept];
#pragma GCC unroll 6
  for (int column = 0; column < kColumnsKept; ++column) {
    carries[column] = wide::DivideByTenToTheSixteen(static_cast<uint64_t>(columns[column] >> 64), static_cast<uint64_t>(columns[column]),
                                                    limbs[column]);
  }
  uint64_t product[kLimbs];
  uint64_t carry = 0;
#pragma GCC unroll 6
  for (int column = 0; column < kColumnsKept; ++column) {
    const uint64_t total = limbs[column] + carry;  // below 10^16 + 5 * 10^16
    const uint64_t excess = total / kLimbBase;
    carry = carries[column] + excess;
    if (column >= kUnitsLimb) {
      product[column - kUnitsLimb] = total - excess * kLimbBase;
    }
  }
  return ValueFromMagnitude(product, ValueIsNegative(a) != ValueIsNegative(b));
}

DecimalValue PowerValue(const DecimalValue& base, int32_t exponent) {
  // The magnitude of the most negative exponent does not fit an int32.
  uint32_t remaining = exponent < 0 ? 0u - static_cast<uint32_t>(exponent) : static_cast<uint32_t>(exponent);
  const DecimalValue one = ValueFromUInt64(1, false);
  DecimalValue result = one;
  DecimalValue square = base;
  while (remaining != 0) {
    if (remaining & 1u) {
      result = MultiplyValues(result, square);
    }
    remaining >>= 1;
    if (remaining != 0) {
      square = MultiplyValues(square, square);
    }
  }
  if (exponent < 0) {
    result = DivideValues(one, result);
  }
  return result;
}

}  // namespace vel::values

#pragma once

// The decimal stack's own form of a number: the same 64 decimal positions as a DecimalEntry,
// held as four limbs of sixteen digits (radix 10^16) in complement form. A number v is held as
// v mod 2 * 10^64: a positive number as itself, a negative one as 2 * 10^64 - |v|, so the top
// limb runs to 2 * 10^16 and is at least 10^16 exactly for a negative number. Sums and
// differences are then a single decimal addition or subtraction of the limbs whatever the
// signs, and a value is 32 bytes instead of an entry's 72, so moving operands on and off the
// stack and adding them costs a few instructions per limb. Limb boundaries fall on positions
// 16, 32 and 48, so the units sit at the bottom of limb 2.
//
// Text, storage, pictures and floating point read and write numbers digit by digit; they work
// on DecimalEntry and meet this form through PackDecimal and UnpackDecimal.

#include <cstdint>

#include "runtime/values/decimal_entry.h"
#include "runtime/values/decimal_wide.h"

namespace vel::values {

// 32-byte alignment keeps every stack slot within one cache line.
struct alignas(32) DecimalValue {
  static constexpr int kLimbs = 4;
  static constexpr uint64_t kLimbBase = 10'000'000'000'000'000ULL;  // 10^16
  /// The top limb's base: it also carries the sign.
  static constexpr uint64_t kTopBase = 2 * kLimbBase;
  /// Limbs of a value whose integer part starts at limb kUnitsLimb.
  static constexpr int kUnitsLimb = 2;

  /// Limb k holds positions 16k to 16k + 15 of the complement form; position i has weight 10 to
  /// the power (i - 32), as in a DecimalEntry. Zero is all 0.
  uint64_t limbs[kLimbs];
};

inline DecimalValue ValueZero() { return DecimalValue{{0, 0, 0, 0}}; }

inline bool ValueIsNonZero(const DecimalValue& value) {
  return (value.limbs[0] | value.limbs[1] | value.limbs[2] | value.limbs[3]) != 0;
}

inline bool ValueIsNegative(const DecimalValue& value) { return value.limbs[DecimalValue::kLimbs - 1] >= DecimalValue::kLimbBase; }

/// True when either magnitude may be 5 * 10^63 or more, the only magnitudes whose sums can
/// reach 10^64: a top limb from 5 * 10^15 (positive) to 1.5 * 10^16 (negative) inclusive. One
/// test of the smaller offset from 5 * 10^15 covers both.
inline bool EitherMayOverflowSum(const DecimalValue& a, const DecimalValue& b) {
  constexpr uint64_t kHalf = DecimalValue::kLimbBase / 2;
  constexpr int kTop = DecimalValue::kLimbs - 1;
  const uint64_t aOffset = a.limbs[kTop] - kHalf;
  const uint64_t bOffset = b.limbs[kTop] - kHalf;
  return (aOffset < bOffset ? aOffset : bOffset) <= DecimalValue::kLimbBase;
}

/// second = second + top (`subtract` false) or second - top, for operands that may overflow:
/// a magnitude reaching 10^64 loses the carry beyond position 63 and keeps its sign.
void CombineLargeValues(DecimalValue& second, const DecimalValue& top, bool subtract);

/// second = second + top or, when `kSubtract`, second - top.
template <bool kSubtract>
inline void CombineValues(DecimalValue& second, const DecimalValue& top) {
  if (EitherMayOverflowSum(second, top)) [[unlikely]] {
    CombineLargeValues(second, top, kSubtract);
    return;
  }
  // The top limb's carry or borrow is the wrap modulo 2 * 10^64 that the complement form
  // relies on.
  uint64_t limbs[DecimalValue::kLimbs];
  if constexpr (kSubtract) {
    wide::SubtractLimbs(second.limbs, top.limbs, DecimalValue::kLimbBase, limbs);
  } else {
    wide::AddLimbs(second.limbs, top.limbs, DecimalValue::kLimbBase, limbs);
  }
  wide::StorePair(second.limbs, limbs[0], limbs[1]);
  wide::StorePair(second.limbs + 2, limbs[2], limbs[3]);
}

/// second = second + top; a carry beyond position 63 is lost.
inline void AddValues(DecimalValue& second, const DecimalValue& top) { CombineValues<false>(second, top); }

/// second = second - top.
inline void SubtractValues(DecimalValue& second, const DecimalValue& top) { CombineValues<true>(second, top); }

/// out = 2 * 10^64 - in (0 for 0) where `mask` is all ones, out = in where it is 0: the
/// complement of limbs, as 0 less them with decimal borrows, the top limb's base being
/// 2 * 10^16. A mask rather than a branch, since signs are as good as random. `out` may be `in`.
inline void ComplementLimbsWhere(const uint64_t (&in)[DecimalValue::kLimbs], uint64_t (&out)[DecimalValue::kLimbs], uint64_t mask) {
  unsigned char borrow = 0;
#pragma GCC unroll 4
  for (int k = 0; k < DecimalValue::kLimbs; ++k) {
    const uint64_t base = k == DecimalValue::kLimbs - 1 ? DecimalValue::kTopBase : DecimalValue::kLimbBase;
    const uint64_t limb = in[k];
    const uint64_t difference = wide::SubtractWithBorrow(0, limb & mask, borrow);
    out[k] = (difference + (base & (0 - static_cast<uint64_t>(borrow)))) | (limb & ~mask);
  }
}

/// value = -value (zero stays zero).
inline void NegateValue(DecimalValue& value) { ComplementLimbsWhere(value.limbs, value.limbs, ~uint64_t{0}); }

/// The magnitude's limbs, each below 10^16: a negative number's magnitude is its complement.
inline void MagnitudeLimbs(const DecimalValue& value, uint64_t (&limbs)[DecimalValue::kLimbs]) {
  ComplementLimbsWhere(value.limbs, limbs, 0 - static_cast<uint64_t>(ValueIsNegative(value)));
}

/// The value of a magnitude given as limbs below 10^16, negated when `negative`.
inline DecimalValue ValueFromMagnitude(const uint64_t (&limbs)[DecimalValue::kLimbs], bool negative) {
  DecimalValue value{{limbs[0], limbs[1], limbs[2], limbs[3]}};
  if (negative) {
    NegateValue(value);
  }
  return value;
}

/// Rounds a magnitude given as limbs as RoundValue does.
void RoundMagnitude(uint64_t (&limbs)[DecimalValue::kLimbs], int places);

/// Returns a * b: product digits below position 0 are dropped without rounding, digits above
/// position 63 are lost.
DecimalValue MultiplyValues(const DecimalValue& a, const DecimalValue& b);

/// Returns dividend / divisor rounded half up (away from zero) to 31 places; integer digits
/// above position 63 are lost; a zero divisor gives 0.
DecimalValue DivideValues(const DecimalValue& dividend, const DecimalValue& divisor);

/// Returns base to the power `exponent`: 1 for 0 (even for a zero base), repeated squaring for a
/// positive exponent, and 1 divided by the positive power for a negative one.
DecimalValue PowerValue(const DecimalValue& base, int32_t exponent);

/// Rounds the magnitude half up to `places` decimal places (clamped to 0-32), so halves round
/// away from zero; a carry beyond position 63 is lost.
void RoundValue(DecimalValue& value, int places);

/// Orders a against b by value: -1, 0 or 1.
int CompareValues(const DecimalValue& a, const DecimalValue& b);

/// The value of `magnitude` with the given sign.
DecimalValue ValueFromUInt64(uint64_t magnitude, bool negative);

/// Low 32 bits of the integer part of the magnitude.
uint32_t IntegerPartModulo32(const DecimalValue& value);

/// The same number as a value; an entry's sign on a zero is dropped.
DecimalValue PackDecimal(const DecimalEntry& entry);

/// The same number as digits, normalised.
DecimalEntry UnpackDecimal(const DecimalValue& value);

}  // namespace vel::values

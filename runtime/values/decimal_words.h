#pragma once

// Long division of decimal magnitudes with a binary divisor and remainder, for DivideValues.
// The dividend is fed in one limb of sixteen digits at a time and each step yields one limb
// of the quotient, so the quotient comes out in limbs without converting it back from binary;
// each step takes one machine division, where dividing in decimal limbs throughout would need
// a division by 10^16 for every limb product. Every number has a fixed number of words (zero
// at the top where unused), so the loops over them are straight runs of instructions. This
// file is private to the decimal implementation.

#include <cstdint>

#include "runtime/values/decimal_value.h"

namespace vel::values::words {

/// A remainder: below the divisor (at most four words), and one word more while it takes in
/// the next limb.
using Remainder = uint64_t[DecimalValue::kLimbs + 1];

/// A nonzero divisor with what each division step needs of it.
class LongDivisor {
 public:
  /// The divisor given as the limbs of a nonzero magnitude.
  explicit LongDivisor(const uint64_t (&limbs)[DecimalValue::kLimbs]);

  /// Takes the next limb into the remainder (remainder * 10^16 + limb) and returns the next
  /// quotient limb, leaving the remainder below the divisor.
  uint64_t Step(Remainder& remainder, uint64_t limb) const;

 private:
  template <int kDivisorWords>
  uint64_t StepWith(Remainder& remainder, uint64_t limb) const;
  template <int kDivisorWords>
  uint64_t DivideStep(Remainder& remainder) const;

  uint64_t m_divisor[DecimalValue::kLimbs + 1];  // the top word is 0
  int m_words;         // words of the divisor below the zero ones
  int m_shift;         // left shift that sets the divisor's top bit
  uint64_t m_leading;  // the divisor's top word, shifted
  uint64_t m_leadingReciprocal;
  uint64_t m_next;     // its next word, shifted (0 for a divisor of one word)
};

}  // namespace vel::values::words

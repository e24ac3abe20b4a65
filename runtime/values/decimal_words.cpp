#include "runtime/values/decimal_words.h"

#include <bit>

namespace vel::values::words {
namespace {

constexpr int kWords = DecimalValue::kLimbs + 1;

/// The word at `index` of `words` shifted left by `shift` bits, taking bits from the word below;
/// words below index 0 read as 0.
inline uint64_t ShiftedWord(const uint64_t* words, int index, int shift) {
  const uint64_t high = index >= 0 ? words[index] : 0;
  const uint64_t low = index >= 1 ? words[index - 1] : 0;
  return shift == 0 ? high : (high << shift) | (low >> (64 - shift));
}

}  // namespace

LongDivisor::LongDivisor(const uint64_t (&limbs)[DecimalValue::kLimbs]) {
  // The divisor in binary: each limb times its power of 10^16, added up word by word. The
  // products do not depend on one another, where Horner's rule would chain them.
  static constexpr uint64_t kPowers[DecimalValue::kLimbs][3] = {{0x1ULL, 0x0ULL, 0x0ULL}, {0x2386f26fc10000ULL, 0x0ULL, 0x0ULL}, {0x85acef8100000000ULL, 0x4ee2d6d415bULL, 0x0ULL}, {0x7f41000000000000ULL, 0xe4395d69670b12bULL, 0xaf298d05ULL}};
  unsigned __int128 products[DecimalValue::kLimbs][3];
#pragma GCC unroll 4
  for (int k = 0; k < DecimalValue::kLimbs; ++k) {
#pragma GCC unroll 3
    for (int word = 0; word < 3; ++word) {
      products[k][word] = wide::MultiplyWords(limbs[k], kPowers[k][word]);
    }
  }
  unsigned __int128 carry = 0;
#pragma GCC unroll 5
  for (int word = 0; word < kWords; ++word) {
    unsigned __int128 column = carry;
#pragma GCC unroll 4
    for (int k = 0; k < DecimalValue::kLimbs; ++k) {
      if (word < 3) {
        column += static_cast<uint64_t>(products[k][word]);
      }
      if (word >= 1 && word <= 3) {
        column += static_cast<uint64_t>(products[k][word - 1] >> 64);
      }
    }
    m_divisor[word] = static_cast<uint64_t>(column);
    carry = column >> 64;
  }
  m_words = DecimalValue::kLimbs;
  while (m_divisor[m_words - 1] == 0) {
    --m_words;
  }
  m_shift = std::countl_zero(m_divisor[m_words - 1]);
  m_leading = ShiftedWord(m_divisor, m_words - 1, m_shift);
  m_next = ShiftedWord(m_divisor, m_words - 2, m_shift);
  // floor((2^128 - 1) / leading) - 2^64, one machine division for all the steps.
  uint64_t unused;
  m_leadingReciprocal = wide::DivideTwoWords(~m_leading, ~0ULL, m_leading, unused);
}

uint64_t LongDivisor::Step(Remainder& remainder, uint64_t limb) const {
  switch (m_words) {
    case 1:
      return StepWith<1>(remainder, limb);
    case 2:
      return StepWith<2>(remainder, limb);
    case 3:
      return StepWith<3>(remainder, limb);
    default:
      return StepWith<4>(remainder, limb);
  }
}

template <int kDivisorWords>
uint64_t LongDivisor::StepWith(Remainder& r, uint64_t limb) const {
  constexpr int n = kDivisorWords;
  // r = r * 10^16 + limb: r was below the divisor, so the new one is below the divisor times
  // 10^16 and fits one word more.
  uint64_t carry = limb;
#pragma GCC unroll 5
  for (int i = 0; i <= n; ++i) {
    const unsigned __int128 product = wide::MultiplyWords(r[i], DecimalValue::kLimbBase) + carry;
    r[i] = static_cast<uint64_t>(product);
    carry = static_cast<uint64_t>(product >> 64);
  }
  // A remainder still below the divisor gives a quotient limb of 0; this is every step before
  // the dividend's digits reach the divisor's size.
  unsigned char borrow = 0;
#pragma GCC unroll 5
  for (int i = 0; i <= n; ++i) {
    wide::SubtractWithBorrow(r[i], m_divisor[i], borrow);
  }
  if (borrow != 0) {
    return 0;
  }
  return DivideStep<n>(r);
}

template <int kDivisorWords>
uint64_t LongDivisor::DivideStep(Remainder& r) const {
  constexpr int n = kDivisorWords;
  if constexpr (n == 1) {
    // The remainder is below the divisor times 2^64, so its high word is below the divisor.
    uint64_t rest;
    const uint64_t quotient = wide::DivideTwoWords(r[1], r[0], m_divisor[0], rest);
    r[0] = rest;
    r[1] = 0;
    return quotient;
  } else {
    // Knuth's algorithm D for one quotient word: the remainder's top words, shifted as the
    // divisor is, over the divisor's shifted top word give a trial word at most two too large;
    // the test against the divisor's second word leaves it rarely one too large, which the
    // subtraction shows by borrowing and adding the divisor back corrects.
    const uint64_t u2 = ShiftedWord(r, n, m_shift);
    const uint64_t u1 = ShiftedWord(r, n - 1, m_shift);
    const uint64_t u0 = ShiftedWord(r, n - 2, m_shift);
    uint64_t trial;
    uint64_t rest;
    bool restOverflows = false;
    if (u2 >= m_leading) [[unlikely]] {
      trial = ~0ULL;
      rest = u1 + m_leading;
      restOverflows = rest < m_leading;
    } else {
      trial = wide::DivideByReciprocal(u2, u1, m_leading, m_leadingReciprocal, rest);
    }
    while (!restOverflows && wide::MultiplyWords(trial, m_next) > ((static_cast<unsigned __int128>(rest) << 64) | u0)) {
      --trial;
      rest += m_leading;
      restOverflows = rest < m_leading;
    }
    // r -= trial * divisor.
    unsigned char borrow = 0;
    uint64_t carry = 0;
#pragma GCC unroll 4
    for (int i = 0; i < n; ++i) {
      const unsigned __int128 product = wide::MultiplyWords(trial, m_divisor[i]) + carry;
      carry = static_cast<uint64_t>(product >> 64);
      r[i] = wide::SubtractWithBorrow(r[i], static_cast<uint64_t>(product), borrow);
    }
    r[n] = wide::SubtractWithBorrow(r[n], carry, borrow);
    if (borrow != 0) [[unlikely]] {
      --trial;
      unsigned char addCarry = 0;
#pragma GCC unroll 4
      for (int i = 0; i < n; ++i) {
        r[i] = wide::AddWithCarry(r[i], m_divisor[i], addCarry);
      }
      r[n] += addCarry;
    }
    return trial;
  }
}

}  // namespace vel::values::words

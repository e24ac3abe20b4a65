#pragma once

// Word arithmetic with carries and double-word results, for the limb arithmetic of decimal
// values. This file is private to the decimal implementation.

#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vel::values::wide {

/// a + b + carry (0 or 1); sets `carry` to the carry out. Where the machine has add-with-carry
/// a run of these becomes one unbroken chain of that instruction.
inline uint64_t AddWithCarry(uint64_t a, uint64_t b, unsigned char& carry) {
#if defined(__x86_64__)
  unsigned long long sum;
  carry = _addcarry_u64(carry, a, b, &sum);
  return sum;
#else
  const uint64_t partial = a + b;
  const uint64_t sum = partial + carry;
  carry = static_cast<unsigned char>((partial < a) | (sum < partial));
  return sum;
#endif
}

/// a - b - borrow (0 or 1); sets `borrow` to the borrow out.
inline uint64_t SubtractWithBorrow(uint64_t a, uint64_t b, unsigned char& borrow) {
#if defined(__x86_64__)
  unsigned long long difference;
  borrow = _subborrow_u64(borrow, a, b, &difference);
  return difference;
#else
  const uint64_t partial = a - b;
  const uint64_t difference = partial - borrow;
  borrow = static_cast<unsigned char>((a < b) | (partial < borrow));
  return difference;
#endif
}

/// Returns (high * 2^64 + low) / divisor and sets `remainder`; `high` must be below `divisor`
/// so that the quotient fits one word.
inline uint64_t DivideTwoWords(uint64_t high, uint64_t low, uint64_t divisor, uint64_t& remainder) {
#if defined(__x86_64__)
  // The machine divides two words by one in a single instruction; the compiler's general
  // 128-bit division is a library call that first checks for cases this never has.
  uint64_t quotient;
  __asm__("divq %[divisor]" : "=a"(quotient), "=d"(remainder) : [divisor] "rm"(divisor), "a"(low), "d"(high));
  return quotient;
#else
  const unsigned __int128 numerator = (static_cast<unsigned __int128>(high) << 64) | low;
  remainder = static_cast<uint64_t>(numerator % divisor);
  return static_cast<uint64_t>(numerator / divisor);
#endif
}

/// Adds two numbers of four limbs, the lower three in base `base` and the top one in base
/// 2 * `base` (each limb below its base), and returns the limbs of the sum; a carry out of the
/// top limb is dropped. One operand's limbs are first lowered by their bases (modulo 2^64): a
/// word addition then carries out exactly when the limb sum reaches the base, so one chain of
/// add-with-carry instructions carries from limb to limb, and a limb that did not carry adds
/// its base back. On x86-64 the lowering and that correction are address computations and
/// conditional moves, none of which disturbs the carry flag, and the other operand is added
/// straight from memory; compiled from the portable form the carries are taken out and put
/// back between the words, which lengthens the chain.
inline void AddLimbs(const uint64_t (&a)[4], const uint64_t (&b)[4], uint64_t base, uint64_t (&sum)[4]) {
#if defined(__x86_64__)
  uint64_t s0 = a[0], s1 = a[1], s2 = a[2], s3 = a[3];
  const uint64_t lowering = 0 - base;
  uint64_t spare;
  __asm__("leaq (%[s0],%[low]), %[s0]\n\tleaq (%[s1],%[low]), %[s1]\n\t"
          "leaq (%[s2],%[low]), %[s2]\n\tleaq (%[s3],%[low],2), %[s3]\n\t"
          "addq %[b0], %[s0]\n\tleaq (%[s0],%[base]), %[t]\n\tcmovncq %[t], %[s0]\n\t"
          "adcq %[b1], %[s1]\n\tleaq (%[s1],%[base]), %[t]\n\tcmovncq %[t], %[s1]\n\t"
          "adcq %[b2], %[s2]\n\tleaq (%[s2],%[base]), %[t]\n\tcmovncq %[t], %[s2]\n\t"
          "adcq %[b3], %[s3]\n\tleaq (%[s3],%[base],2), %[t]\n\tcmovncq %[t], %[s3]"
          : [s0] "+&r"(s0), [s1] "+&r"(s1), [s2] "+&r"(s2), [s3] "+&r"(s3), [t] "=&r"(spare)
          : [b0] "m"(b[0]), [b1] "m"(b[1]), [b2] "m"(b[2]), [b3] "m"(b[3]), [base] "r"(base), [low] "r"(lowering)
          : "cc");
  sum[0] = s0, sum[1] = s1, sum[2] = s2, sum[3] = s3;
#else
  unsigned char carry = 0;
  for (int k = 0; k < 4; ++k) {
    const uint64_t limbBase = k == 3 ? 2 * base : base;
    const uint64_t word = AddWithCarry(a[k] - limbBase, b[k], carry);
    sum[k] = carry ? word : word + limbBase;
  }
#endif
}

/// Subtracts two numbers of four limbs as AddLimbs adds them, dropping a borrow out of the top
/// limb: a limb that borrowed adds its base back.
inline void SubtractLimbs(const uint64_t (&a)[4], const uint64_t (&b)[4], uint64_t base, uint64_t (&difference)[4]) {
#if defined(__x86_64__)
  uint64_t d0 = a[0], d1 = a[1], d2 = a[2], d3 = a[3];
  uint64_t spare;
  __asm__("subq %[b0], %[d0]\n\tleaq (%[d0],%[base]), %[t]\n\tcmovcq %[t], %[d0]\n\t"
          "sbbq %[b1], %[d1]\n\tleaq (%[d1],%[base]), %[t]\n\tcmovcq %[t], %[d1]\n\t"
          "sbbq %[b2], %[d2]\n\tleaq (%[d2],%[base]), %[t]\n\tcmovcq %[t], %[d2]\n\t"
          "sbbq %[b3], %[d3]\n\tleaq (%[d3],%[base],2), %[t]\n\tcmovcq %[t], %[d3]"
          : [d0] "+&r"(d0), [d1] "+&r"(d1), [d2] "+&r"(d2), [d3] "+&r"(d3), [t] "=&r"(spare)
          : [b0] "m"(b[0]), [b1] "m"(b[1]), [b2] "m"(b[2]), [b3] "m"(b[3]), [base] "r"(base)
          : "cc");
  difference[0] = d0, difference[1] = d1, difference[2] = d2, difference[3] = d3;
#else
  unsigned char borrow = 0;
  for (int k = 0; k < 4; ++k) {
    const uint64_t word = SubtractWithBorrow(a[k], b[k], borrow);
    difference[k] = borrow ? word + (k == 3 ? 2 * base : base) : word;
  }
#endif
}

/// Stores two words as one 16-byte write. Values are copied in 16-byte pieces, and a piece
/// read straight after two separate 8-byte writes to it cannot be taken from them in flight:
/// the read waits until both writes have reached the cache.
inline void StorePair(uint64_t* target, uint64_t low, uint64_t high) {
#if defined(__x86_64__)
  _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low)));
#else
  target[0] = low;
  target[1] = high;
#endif
}

/// The reciprocal of a divisor with its top bit set, floor((2^128 - 1) / divisor) - 2^64, for
/// DivideByReciprocal.
constexpr uint64_t ReciprocalOf(uint64_t divisor) {
  return static_cast<uint64_t>(~static_cast<unsigned __int128>(0) / divisor);
}

/// (high * 2^64 + low) / divisor with the remainder in `remainder`, for a divisor with its top
/// bit set and `high` below it, by multiplying with the divisor's reciprocal (Moller and
/// Granlund's division by an invariant word): two multiplications and a few corrections, which
/// are quicker than a machine division and pipeline where machine divisions queue.
inline uint64_t DivideByReciprocal(uint64_t high, uint64_t low, uint64_t divisor, uint64_t reciprocal, uint64_t& remainder) {
  const unsigned __int128 estimate = static_cast<unsigned __int128>(reciprocal) * high + ((static_cast<unsigned __int128>(high) << 64) | low);
  uint64_t quotient = static_cast<uint64_t>(estimate >> 64) + 1;
  uint64_t rest = low - quotient * divisor;
  if (rest > static_cast<uint64_t>(estimate)) {
    --quotient;
    rest += divisor;
  }
  if (rest >= divisor) [[unlikely]] {
    ++quotient;
    rest -= divisor;
  }
  remainder = rest;
  return quotient;
}

/// (high * 2^64 + low) / 10^16 with the remainder in `remainder`, for `high` below 10^16.
inline uint64_t DivideByTenToTheSixteen(uint64_t high, uint64_t low, uint64_t& remainder) {
  constexpr int kShift = 10;  // 10^16 < 2^54: the shift that sets its top bit
  constexpr uint64_t kNormalised = 10'000'000'000'000'000ULL << kShift;
  constexpr uint64_t kReciprocal = ReciprocalOf(kNormalised);
  uint64_t rest;
  const uint64_t quotient = DivideByReciprocal((high << kShift) | (low >> (64 - kShift)), low << kShift, kNormalised, kReciprocal, rest);
  remainder = rest >> kShift;
  return quotient;
}

/// The full product of two words.
inline unsigned __int128 MultiplyWords(uint64_t a, uint64_t b) { return static_cast<unsigned __int128>(a) * b; }

}  // namespace vel::values::wide

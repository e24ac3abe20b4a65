#pragma once

// Eight unpacked decimal digits held in one 64-bit word, lowest position in the lowest byte.
// Decimal addition and subtraction run on whole words: adding 246 to each byte of one operand
// makes a byte overflow exactly when its decimal digit sum reaches 10, so the binary carry
// chain of an ordinary 64-bit addition is the decimal carry chain. A byte that did not carry
// out still holds its digit plus 246, which is the only case with its top bit set, so those
// bytes are found from the sum alone and corrected by subtracting the 246 again. Subtraction
// adds the nines' complement of the subtrahend with a carry in of 1; with the bias added,
// 9 - d + 246 is 255 - d, the bitwise complement of the byte. This file is private to the
// decimal implementation.

#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vel::values::lanes {

inline constexpr uint64_t kLaneOnes = 0x0101010101010101ULL;
inline constexpr uint64_t kBias = 0xF6F6F6F6F6F6F6F6ULL;  // 246 in every byte

inline uint64_t Load(const uint8_t* digits) {
  uint64_t word;
  std::memcpy(&word, digits, sizeof word);
  return word;
}

inline void Store(uint8_t* digits, uint64_t word) { std::memcpy(digits, &word, sizeof word); }

/// The digits of a biased sum: a byte that did not carry out still holds its digit plus 246,
/// and subtracting that from bytes of 246 to 255 never borrows across bytes.
inline uint64_t UnbiasSum(uint64_t sum) { return sum - ((sum >> 7) & kLaneOnes) * 0xF6; }

/// Adds a word of digits (each byte 0-9), a biased addend (each byte 246-255) and a carry in
/// (0 or 1); returns the digits and sets `carry` to the carry out of the top byte.
inline uint64_t AddBiased(uint64_t digits, uint64_t biased, uint64_t& carry) {
  // The top byte's carry is lost to the 64-bit wrap but shows in its top bit like any other.
  const uint64_t sum = digits + biased + carry;
  carry = (sum >> 63) ^ 1;
  return UnbiasSum(sum);
}

/// Adds the eight words at `addend`, each turned into a biased addend as (word ^ mask) + bias,
/// and a carry in (0 or 1) into the eight words of digits at `digits`; returns the carry out.
/// Where the machine has an add-with-carry instruction the additions form one unbroken chain
/// of them, with every word's correction after it.
inline uint64_t AddBiasedEightWords(uint8_t* digits, const uint8_t* addend, uint64_t mask, uint64_t bias, uint64_t carry) {
  uint64_t biased[8];
#pragma GCC unroll 8
  for (int word = 0; word < 8; ++word) {
    biased[word] = (Load(addend + 8 * word) ^ mask) + bias;
  }
#if defined(__x86_64__)
  unsigned long long sums[8];
  auto carryFlag = static_cast<unsigned char>(carry);
#pragma GCC unroll 8
  for (int word = 0; word < 8; ++word) {
    carryFlag = _addcarry_u64(carryFlag, Load(digits + 8 * word), biased[word], &sums[word]);
  }
#pragma GCC unroll 8
  for (int word = 0; word < 8; ++word) {
    Store(digits + 8 * word, UnbiasSum(sums[word]));
  }
  return carryFlag;
#else
  for (int word = 0; word < 8; ++word) {
    Store(digits + 8 * word, AddBiased(Load(digits + 8 * word), biased[word], carry));
  }
  return carry;
#endif
}

/// Subtracts word b and a borrow in (0 or 1) from word a; returns the digits and sets
/// `borrow` to the borrow out of the top byte.
inline uint64_t SubtractDigits(uint64_t a, uint64_t b, uint64_t& borrow) {
  uint64_t difference;
  const bool underflowA = __builtin_sub_overflow(a, b, &difference);
  const bool underflowB = __builtin_sub_overflow(difference, borrow, &difference);
  const uint64_t borrowOut = static_cast<uint64_t>(underflowA | underflowB);
  const uint64_t borrowed = (((a ^ b ^ difference) >> 8) & (kLaneOnes >> 8)) | (borrowOut << 56);
  borrow = borrowOut;
  // A byte that borrowed holds 256 + d for a digit difference d of -10 to -1; adding 10 is
  // subtracting 246 modulo 256, and those bytes are at least 246 so nothing borrows across.
  return difference - borrowed * 0xF6;
}

}  // namespace vel::values::lanes

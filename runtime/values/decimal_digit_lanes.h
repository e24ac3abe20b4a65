#pragma once

// Eight unpacked decimal digits held in one 64-bit word, lowest position in the lowest byte.
// Decimal addition and subtraction run on whole words: adding 246 to each byte of one operand
// makes a byte overflow exactly when its decimal digit sum reaches 10, so the binary carry
// chain of an ordinary 64-bit addition is the decimal carry chain. Bytes that did not carry
// out are then corrected by subtracting the 246 again. Subtraction works the same way with the
// binary borrow chain. This file is private to the decimal implementation.

#include <cstdint>
#include <cstring>

namespace vel::values::lanes {

inline constexpr uint64_t kLaneOnes = 0x0101010101010101ULL;
inline constexpr uint64_t kBias = 0xF6F6F6F6F6F6F6F6ULL;  // 246 in every byte

inline uint64_t Load(const uint8_t* digits) {
  uint64_t word;
  std::memcpy(&word, digits, sizeof word);
  return word;
}

inline void Store(uint8_t* digits, uint64_t word) { std::memcpy(digits, &word, sizeof word); }

/// Adds two words of digits (each byte 0-9) and a carry in (0 or 1); returns the digits and
/// sets `carry` to the carry out of the top byte.
inline uint64_t AddDigits(uint64_t a, uint64_t b, uint64_t& carry) {
  const uint64_t biased = b + kBias;  // 9 + 246 = 255: no byte overflows here
  uint64_t sum;
  const bool overflowA = __builtin_add_overflow(a, biased, &sum);
  const bool overflowB = __builtin_add_overflow(sum, carry, &sum);
  const uint64_t carryOut = static_cast<uint64_t>(overflowA | overflowB);
  // Bit 8k of (a ^ biased ^ sum) is the carry into byte k; byte 7's carry out is the overflow.
  const uint64_t carried = (((a ^ biased ^ sum) >> 8) & (kLaneOnes >> 8)) | (carryOut << 56);
  carry = carryOut;
  return sum - (carried ^ kLaneOnes) * 0xF6;
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

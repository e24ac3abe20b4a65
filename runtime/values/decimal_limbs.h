#pragma once

// Eight unpacked digits (one decimal digit per byte, lowest position in the lowest byte) and
// the same digits as one binary number below 10^8, the step between an entry's digits and a
// value's limbs. Each conversion runs on all eight digits at once, splitting or joining halves
// of a word in a few multiplications instead of one digit at a time. This file is private to
// the decimal implementation.

#include <cstdint>

namespace vel::values::limbs {

inline constexpr uint64_t kLimbBase = 100000000;  // 10^8

/// The value of a word of eight digits (each byte 0-9).
inline uint32_t Pack(uint64_t word) {
  // Pairs of digits into 16-bit lanes (< 100), pairs of those into 32-bit lanes (< 10^4), and
  // the two halves into one number.
  word = (word & 0x00FF00FF00FF00FFULL) + ((word >> 8) & 0x00FF00FF00FF00FFULL) * 10;
  word = (word & 0x0000FFFF0000FFFFULL) + ((word >> 16) & 0x0000FFFF0000FFFFULL) * 100;
  return static_cast<uint32_t>((word & 0xFFFFFFFFULL) + (word >> 32) * 10000);
}

/// The eight digits of a value below 10^8, as a word.
inline uint64_t Unpack(uint32_t value) {
  // The reverse of Pack: halves below 10^4 in 32-bit lanes, quarters below 100 in 16-bit lanes,
  // digits in bytes. Each lane is divided by multiplying with a rounded-up reciprocal, exact for
  // the lane's range: x / 100 = (x * 5243) >> 19 for x < 43699, x / 10 = (x * 103) >> 10 for
  // x < 179; neither product leaves its lane.
  const uint64_t upper = value / 10000;
  uint64_t word = (value - upper * 10000) | (upper << 32);
  uint64_t high = ((word * 5243) >> 19) & 0x0000007F0000007FULL;
  word = (word - high * 100) | (high << 16);
  high = ((word * 103) >> 10) & 0x000F000F000F000FULL;
  return (word - high * 10) | (high << 8);
}

}  // namespace vel::values::limbs

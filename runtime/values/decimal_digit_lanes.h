#pragma once

// Eight unpacked decimal digits held in one 64-bit word, lowest position in the lowest byte,
// so that entries are scanned, compared and converted a word at a time. This file is private
// to the decimal implementation.

#include <cstdint>
#include <cstring>

namespace vel::values::lanes {

inline uint64_t Load(const uint8_t* digits) {
  uint64_t word;
  std::memcpy(&word, digits, sizeof word);
  return word;
}

inline void Store(uint8_t* digits, uint64_t word) { std::memcpy(digits, &word, sizeof word); }

}  // namespace vel::values::lanes

#pragma once
// Text comparisons and in-place case conversion through the program's character tables.

#include <cstddef>
#include <cstdint>

#include "runtime/values/char_tables.h"

namespace vel::values {

/// Reads a byte run as a sequence of characters in which a byte listed in a digraph table
/// stands for its two replacement characters, one after the other.
class DigraphReader {
 public:
  /// Reads at most `length` bytes of `text`; with `stopAtZero` a zero byte also ends the text.
  DigraphReader(const uint8_t* text, size_t length, const DigraphEntry* table, bool stopAtZero);

  /// Delivers the next character into `c`; false once the text has ended.
  bool Next(uint8_t& c);

 private:
  const uint8_t* m_text;
  size_t m_remaining;
  const DigraphEntry* m_table;
  bool m_stopAtZero;
  uint8_t m_pending = 0;
  bool m_hasPending = false;
};

/// Ordering of two zero-terminated texts by collating weight, case significant.
int CompareText(const char* first, const char* second);

/// Ordering of two zero-terminated texts by collating weight of the upper-cased characters.
int CompareTextNoCase(const char* first, const char* second);

/// As `CompareTextNoCase` over exactly `count` bytes of each run, zero bytes included.
int CompareBytesNoCase(const char* first, const char* second, size_t count);

/// The count that makes `LowerText` stop at the zero terminator instead.
inline constexpr unsigned kUpToTerminator = 65535;

/// Converts the first `count` bytes of `text` in place with `ToLowerChar`; the count 65535
/// converts up to the zero terminator.
void LowerText(char* text, unsigned count);

/// Upper-cases `length` bytes in place with `ToUpperChar`.
void UpperRun(char* text, size_t length);

}  // namespace vel::values

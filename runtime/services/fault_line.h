#pragma once
// One line of the fault report, built in a fixed buffer and written with one file write. It
// allocates nothing and calls no formatting library, so a fault handler can use it whatever
// state the faulting thread left the heap or the C library in.

#include <cstddef>
#include <cstdint>

#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {

class FaultLine {
 public:
  /// Every line of the report is formatted into a buffer of this size; what does not fit is cut,
  /// but the line end always fits, so that an overlong line never runs into the next one.
  static constexpr std::size_t kCapacity = 512;
  static constexpr std::size_t kLineEndRoom = 2;

  /// Appends text up to its terminating zero (null appends nothing).
  FaultLine& Text(const char* text);
  /// Appends at most `limit` characters of the text.
  FaultLine& Text(const char* text, std::size_t limit);
  /// Appends the value in hexadecimal with at least `minDigits` digits, as "%0*x" (or "%0*X").
  FaultLine& Hex(std::uint64_t value, int minDigits, bool upperCase = false);
  /// Appends the value in decimal, as "%d".
  FaultLine& Decimal(std::int64_t value);
  /// Appends the line end ("\r\n", or "\n" in the call stack) into the room kept for it.
  FaultLine& EndLine(const char* end);

  const char* Data() const { return m_text; }
  std::size_t Length() const { return m_length; }

  /// Writes the line to the file with one write and empties it. Failures are ignored: a report
  /// that cannot be written must not stop the fault from taking its course.
  void WriteTo(HFILE file);

 private:
  char m_text[kCapacity];
  std::size_t m_length = 0;
};

}  // namespace vel::services

#pragma once
// Pieces shared by the picture formatters.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/values/decimal_entry.h"
#include "runtime/values/picture_record.h"

namespace vel::values::detail {

/// The widest picture: string pictures reach 255 positions.
inline constexpr int kMaxPictureWidth = 255;

/// Copies a formatted block of `width` bytes to the caller's buffer, cut to `capacity`.
inline size_t Deliver(const char* block, int width, char* out, size_t capacity) {
  const size_t count = static_cast<size_t>(width) < capacity ? static_cast<size_t>(width) : capacity;
  if (count > 0) std::memcpy(out, block, count);
  return count;
}

/// Fills `count` bytes with blanks. Pictures are mostly narrow, and for a few bytes two
/// overlapping word stores beat the start-up cost of a general fill.
inline void FillBlanks(char* target, size_t count) {
  constexpr uint64_t kBlanks = 0x2020202020202020ull;
  if (count >= 8 && count <= 16) {
    std::memcpy(target, &kBlanks, 8);
    std::memcpy(target + count - 8, &kBlanks, 8);
  } else if (count < 8) {
    for (size_t i = 0; i < count; ++i) target[i] = ' ';
  } else {
    std::memset(target, ' ', count);
  }
}

/// The block a formatter writes into: the caller's buffer itself when it holds the whole
/// width, else a local block that is cut to the caller's capacity on delivery. Starts blank
/// unless the formatter writes every position itself.
class OutputBlock {
 public:
  OutputBlock(int width, char* out, size_t capacity, bool startBlank = true)
      : m_width(width), m_out(out), m_capacity(capacity),
        m_target(capacity >= static_cast<size_t>(width) ? out : m_local) {
    if (startBlank) FillBlanks(m_target, static_cast<size_t>(width));
  }
  OutputBlock(const OutputBlock&) = delete;
  OutputBlock& operator=(const OutputBlock&) = delete;

  char* Data() { return m_target; }
  size_t Deliver() {
    if (m_target == m_out) return static_cast<size_t>(m_width);
    return detail::Deliver(m_local, m_width, m_out, m_capacity);
  }

 private:
  int m_width;
  char* m_out;
  size_t m_capacity;
  char m_local[kMaxPictureWidth];
  char* m_target;
};

/// Lays a numeric or pattern picture out over `block` (width bytes), writing every position.
void LayOutDecimal(const CompiledPicture& picture, const DecimalEntry& value, char* block);

/// Lays a scientific picture out over `block`.
void LayOutScientific(const CompiledPicture& picture, double value, char* block);

}  // namespace vel::values::detail

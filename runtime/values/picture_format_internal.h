#pragma once
// Pieces shared by the picture formatters.

#include <cstddef>
#include <cstring>

#include "runtime/values/picture_decimal.h"
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

/// Lays a numeric or pattern picture out over `block` (width bytes, already blank).
void LayOutDecimal(const CompiledPicture& picture, PictureDecimal value, char* block);

/// Lays a scientific picture out over `block`.
void LayOutScientific(const CompiledPicture& picture, double value, char* block);

}  // namespace vel::values::detail

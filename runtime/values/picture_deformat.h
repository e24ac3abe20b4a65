#pragma once
// Reading typed text back through a compiled picture. The result is the value as text: digits
// with "-", "." or an exponent where they apply, or the serial day or time value of a date or
// time picture.

#include <cstddef>
#include <cstdint>

#include "runtime/values/picture_record.h"

namespace vel::values {

/// A buffer of this size holds the result of deformatting through any picture.
inline constexpr size_t kDeformatBufferSize = 2 * 255 + 2;

/// Deformats `text` through `picture` into `out` (cut to `capacity`, not zero-terminated);
/// returns the length. An invalid picture gives an empty result.
size_t DeformatWithPicture(const CompiledPicture& picture, const char* text, size_t length,
                           char* out, size_t capacity);

/// Strips formatting characters from a number typed without a picture: of the first `limit`
/// characters, digits stay, and so do the first ".", the first "e" or "E", a "-" at the start
/// or right after the "e", and a "+" right after the "e".
size_t DeformatPlainNumber(const char* text, size_t length, size_t limit, char* out,
                           size_t capacity);

/// Reads a date typed through a date picture: the serial day, 0 when no date field was given,
/// -1 for a date that does not exist.
int32_t DeformatDate(const CompiledPicture& picture, const char* text, size_t length);

/// Reads a time typed through a time picture: the time value, 0 when every field is zero,
/// -1 for an hour of 24 or more or minutes or seconds of 60 or more.
int32_t DeformatTime(const CompiledPicture& picture, const char* text, size_t length);

}  // namespace vel::values

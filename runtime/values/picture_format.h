#pragma once
// Formatting values through compiled pictures. Every function writes exactly the picture's
// width (cut to `capacity`) and returns the number of characters written; an invalid picture
// writes nothing. The output is not zero-terminated.

#include <cstddef>
#include <cstdint>

#include "runtime/values/decimal_entry.h"
#include "runtime/values/picture_record.h"

namespace vel::values {

/// Formats an exact decimal through a numeric or pattern picture. Other classes take the
/// value as a number (serial day, time value, scientific value) or as its text.
size_t FormatDecimal(const CompiledPicture& picture, const DecimalEntry& value, char* out,
                     size_t capacity);

/// `DecFormat`: pops the top of the decimal stack and formats it through `picture`.
size_t DecFormat(const CompiledPicture& picture, char* out, size_t capacity);

/// Formats a number: a serial day through a date picture, a time value through a time
/// picture, a floating-point value through a scientific picture, an exact decimal (rounded to
/// 15 significant digits) through a numeric or pattern picture, its text through the others.
size_t FormatNumber(const CompiledPicture& picture, double value, char* out, size_t capacity);

/// Formats a serial day through a date picture.
size_t FormatDate(const CompiledPicture& picture, int32_t serial, char* out, size_t capacity);

/// Formats a time value through a time picture.
size_t FormatTime(const CompiledPicture& picture, int32_t time, char* out, size_t capacity);

/// Formats a value held as text, as FORMAT does: string and key-in pictures copy it (cut or
/// blank-filled); numeric and pattern pictures read it as a decimal; date, time and scientific
/// pictures read it as a floating-point number.
size_t FormatWithPicture(const CompiledPicture& picture, const char* text, size_t length,
                         char* out, size_t capacity);

/// Reads text as a floating-point number by the C rules (leading white space skipped,
/// conversion stops at the first character that cannot continue the number, nothing
/// convertible gives 0); at most 39 characters take part.
double TextToReal(const char* text, size_t length);

}  // namespace vel::values

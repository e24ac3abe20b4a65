#pragma once

#include <cstddef>
#include <cstdint>

namespace vel::values {

/// Room enough for the text of any `Int32` ("-2147483648").
inline constexpr std::size_t kLongTextSize = 11;

/// Room enough for the text of any `Float64` ("-1.2345678901234E-308").
inline constexpr std::size_t kRealTextSize = 24;

/// The most characters a number text may have when read back as a `Float64`.
inline constexpr std::size_t kMaxRealInput = 39;

/// Writes `value` as an optional "-" and its digits into `out` (at least kLongTextSize bytes)
/// and returns the number of characters written; no terminator is written.
std::size_t FormatLong(std::int32_t value, char* out);

/// Writes `value` with 14 significant digits in general notation into `out` (at least
/// kRealTextSize bytes) and returns the number of characters written; no terminator is written.
/// The notation is that of printf's "%.14G": fixed when the decimal exponent lies between -4
/// and 13, otherwise exponential ("1.5E+20", "1E-07"); trailing fraction zeros and a trailing
/// point are dropped, so 12.0 gives "12". Infinities and NaN read "INF", "-INF" and "NAN".
/// The text never depends on the process locale.
std::size_t FormatReal(double value, char* out);

/// Converts text to a `Float64` by the C decimal-to-floating rules: leading white space is
/// skipped, conversion stops at the first character that cannot continue the number and text
/// with nothing convertible gives 0. Overflow gives an infinity, underflow 0. The decimal
/// point is always ".", whatever the process locale.
double ParseReal(const char* text, std::size_t length);

}  // namespace vel::values

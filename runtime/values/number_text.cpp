#include "runtime/values/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vel::values {

namespace {

constexpr int kRealDigits = 14;

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::size_t CopyWord(const char* word, char* out) {
  std::size_t length = 0;
  for (; word[length] != '\0'; ++length) out[length] = word[length];
  return length;
}

// A rough exponent of the number whose digits start at `text` (decimal digits and an "e"
// exponent, or hexadecimal digits worth four bits each and a "p" exponent), enough to tell a
// value too large for a double from one too small when the exact conversion reports it out of
// range.
long RoughExponent(const char* text, const char* end, bool hex) {
  auto isDigit = hex ? IsHexDigit : IsDigit;
  long digitWeight = hex ? 4 : 1;
  char exponentMark = hex ? 'p' : 'e';
  long exponent = 0;
  bool seenNonZero = false;
  const char* p = text;
  for (; p != end && isDigit(*p); ++p) {
    if (*p != '0') seenNonZero = true;
    if (seenNonZero) exponent += digitWeight;
  }
  if (p != end && *p == '.') {
    for (++p; p != end && isDigit(*p); ++p) {
      if (seenNonZero) continue;
      if (*p != '0') {
        seenNonZero = true;
      } else {
        exponent -= digitWeight;
      }
    }
  }
  if (p != end && (*p | 0x20) == exponentMark) {
    ++p;
    bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    long explicitExponent = 0;
    for (; p != end && IsDigit(*p); ++p) {
      if (explicitExponent < 1000000) explicitExponent = explicitExponent * 10 + (*p - '0');
    }
    exponent += negative ? -explicitExponent : explicitExponent;
  }
  return exponent;
}

}  // namespace

std::size_t FormatLong(std::int32_t value, char* out) {
  return static_cast<std::size_t>(std::to_chars(out, out + kLongTextSize, value).ptr - out);
}

std::size_t FormatReal(double value, char* out) {
  if (std::isnan(value)) return CopyWord("NAN", out);
  if (std::isinf(value)) return CopyWord(value < 0 ? "-INF" : "INF", out);
  // The general format with a precision is defined as printf's "%g" in the C locale, which
  // already drops trailing fraction zeros and a trailing point.
  auto result = std::to_chars(out, out + kRealTextSize, value, std::chars_format::general,
                              kRealDigits);
  std::size_t length = static_cast<std::size_t>(result.ptr - out);
  for (std::size_t i = 0; i < length; ++i) {
    if (out[i] == 'e') out[i] = 'E';
  }
  return length;
}

double ParseReal(const char* text, std::size_t length) {
  if (text == nullptr) return 0.0;
  const char* p = text;
  const char* end = text + length;
  while (p != end && IsCSpace(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  // std::from_chars takes no sign of its own here, so a second sign means nothing converts.
  if (p == end || *p == '+' || *p == '-') return 0.0;

  double value = 0.0;
  const char* digits = p;
  std::chars_format format = std::chars_format::general;
  if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
      (IsHexDigit(p[2]) || (p[2] == '.' && end - p > 3 && IsHexDigit(p[3])))) {
    digits = p + 2;
    format = std::chars_format::hex;
  }
  auto result = std::from_chars(digits, end, value, format);
  if (result.ec == std::errc::result_out_of_range) {
    bool huge = RoughExponent(digits, end, format == std::chars_format::hex) > 0;
    value = huge ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    return 0.0;  // nothing converted: a plain 0, whatever sign came before
  }
  return negative ? -value : value;
}

}  // namespace vel::values

#include "runtime/values/number_conversions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace vel::values {
namespace {

constexpr size_t kMaxFloatText = 39;
constexpr double kNearIntegerDistance = 0x1p-50;

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

/// Decides, for text the parser found out of range, whether its magnitude was huge (true) or
/// tiny: the position of its first nonzero digit plus its exponent says which.
bool IsHugeMagnitude(const char* begin, const char* end) {
  const char* p = begin;
  long magnitude = 0;
  bool seenNonZero = false;
  while (p < end && IsDigitChar(*p)) {
    seenNonZero = seenNonZero || *p != '0';
    if (seenNonZero) {
      ++magnitude;
    }
    ++p;
  }
  if (p < end && *p == '.') {
    ++p;
    while (p < end && IsDigitChar(*p)) {
      if (seenNonZero) {
        break;
      }
      if (*p != '0') {
        seenNonZero = true;
        break;
      }
      --magnitude;
      ++p;
    }
    while (p < end && IsDigitChar(*p)) {
      ++p;
    }
  }
  long exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) {
      ++p;
    }
    while (p < end && IsDigitChar(*p)) {
      exponent = std::min(exponent * 10 + (*p - '0'), 100000L);
      ++p;
    }
    exponent = negative ? -exponent : exponent;
  }
  return magnitude + exponent > 0;
}

}  // namespace

double ReadFloat64Text(const char* text, size_t length) {
  if (text == nullptr) {
    return 0.0;
  }
  while (length > 0 && text[length - 1] == ' ') {
    --length;
  }
  length = std::min(length, kMaxFloatText);
  // A zero byte ends the text as it would end a C string.
  length = static_cast<size_t>(std::find(text, text + length, '\0') - text);

  const char* p = text;
  const char* end = text + length;
  while (p < end && IsCSpace(*p)) {
    ++p;
  }
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  if (p < end && (*p == '-' || *p == '+')) {
    return 0.0;  // a second sign cannot continue the number
  }
  double value = 0.0;
  std::from_chars_result result{};
  const bool hexadecimal = end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && std::isxdigit(static_cast<unsigned char>(p[2]));
  if (hexadecimal) {
    result = std::from_chars(p + 2, end, value, std::chars_format::hex);
  } else {
    result = std::from_chars(p, end, value, std::chars_format::general);
  }
  if (result.ec == std::errc::result_out_of_range) {
    value = (!hexadecimal && IsHugeMagnitude(p, end)) ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

int64_t TruncateFloat64(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  // 2^63 is the first double beyond the range; everything below converts exactly once truncated.
  if (value >= 0x1p63) {
    return std::numeric_limits<int64_t>::max();
  }
  if (value < -0x1p63) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(value);
}

int64_t TextToInteger(const char* text, size_t length) {
  const double value = ReadFloat64Text(text, length);
  const double truncated = std::trunc(value);
  const double next = truncated + (value < 0 ? -1.0 : 1.0);
  if (std::isfinite(value) && value != truncated && std::fabs(next - value) <= std::fabs(value) * kNearIntegerDistance) {
    return TruncateFloat64(next);
  }
  return TruncateFloat64(value);
}

bool StoreIntegerBits(void* address, StorageKind kind, int64_t value) {
  if (address == nullptr || !IsIntegerKind(kind)) {
    return false;
  }
  const auto bits = static_cast<uint64_t>(value);
  const size_t width = StorageKindSize(static_cast<uint32_t>(kind));
  auto* out = static_cast<uint8_t*>(address);
  for (size_t i = 0; i < width; ++i) {
    out[i] = static_cast<uint8_t>(bits >> (8 * i));
  }
  return true;
}

int64_t LoadInteger(const void* address, StorageKind kind) {
  if (address == nullptr || !IsIntegerKind(kind)) {
    return 0;
  }
  const auto* in = static_cast<const uint8_t*>(address);
  const size_t width = StorageKindSize(static_cast<uint32_t>(kind));
  uint64_t bits = 0;
  for (size_t i = width; i-- > 0;) {
    bits = (bits << 8) | in[i];
  }
  const bool isSigned = kind == StorageKind::Int16 || kind == StorageKind::Int32;
  if (isSigned && width < 8 && (bits >> (8 * width - 1)) != 0) {
    bits |= ~uint64_t{0} << (8 * width);  // sign-extend
  }
  return static_cast<int64_t>(bits);
}

}  // namespace vel::values

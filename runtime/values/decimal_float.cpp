#include "runtime/values/decimal_float.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace vel::values {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kAccumulatedDigits = 16;

// 10^0 to 10^16, all exact in a double.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                   1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};

/// The first 16 significant digits of |value| (truncated, not rounded) and the decimal exponent
/// of the first one. Printing with 40 digits rounds only at the 41st; that rounding reaches
/// the 16th digit only through a run of nines, which then prints as zeros, so that one case is
/// printed again in full (a double's exact expansion never needs more than 767 digits).
void LeadingDigits(double magnitude, char (&digits)[kAccumulatedDigits], int& exponent10) {
  char text[1100];
  auto print = [&](int precision) {
    const auto result = std::to_chars(text, text + sizeof text - 1, magnitude, std::chars_format::scientific, precision);
    *result.ptr = '\0';
  };
  print(40);
  bool tailIsZero = true;
  for (int i = kAccumulatedDigits + 1; i <= 41; ++i) {  // text is "d.dddd...e+XX"
    tailIsZero = tailIsZero && text[i] == '0';
  }
  if (tailIsZero) {
    print(800);
  }
  digits[0] = text[0];
  for (int i = 1; i < kAccumulatedDigits; ++i) {
    digits[i] = text[i + 1];
  }
  const char* exponentText = text;
  while (*exponentText != 'e') {
    ++exponentText;
  }
  exponent10 = std::atoi(exponentText + 1);
}

}  // namespace

DecimalEntry DecimalFromFloat64(double value) {
  DecimalEntry entry = DecimalZero();
  if (!std::isfinite(value) || value == 0.0) {
    return entry;
  }
  char digits[kAccumulatedDigits];
  int exponent10 = 0;
  LeadingDigits(std::fabs(value), digits, exponent10);

  uint64_t significand = 0;
  for (int i = 0; i < kSignificantDigits; ++i) {
    significand = significand * 10 + static_cast<uint64_t>(digits[i] - '0');
  }
  if (digits[kSignificantDigits] >= '5') {
    ++significand;
    if (significand == 1000000000000000ULL) {  // 999...9 rounded up to a new leading digit
      significand /= 10;
      ++exponent10;
    }
  }
  // The leading digit sits at position 32 + exponent10; the 15th one 14 positions lower.
  int position = DecimalEntry::kUnits + exponent10 - (kSignificantDigits - 1);
  for (int i = 0; i < kSignificantDigits; ++i, ++position) {
    const auto digit = static_cast<uint8_t>(significand % 10);
    significand /= 10;
    if (position >= 0 && position < DecimalEntry::kPositions) {
      entry.digits[position] = digit;
    }
  }
  entry.sign = std::signbit(value) ? 1 : 0;
  NormaliseDecimal(entry);
  return entry;
}

double DecimalToFloat64(const DecimalEntry& entry) {
  if (!DecimalIsNonZero(entry)) {
    return 0.0;
  }
  const int lowest = std::max(static_cast<int>(entry.low), entry.high - (kAccumulatedDigits - 1));
  uint64_t accumulated = 0;
  for (int position = entry.high; position >= lowest; --position) {
    accumulated = accumulated * 10 + entry.digits[position];
  }
  double value = static_cast<double>(accumulated);
  int scale = lowest - DecimalEntry::kUnits;
  if (scale >= 0) {
    for (; scale > 15; scale -= 16) {
      value *= kPowersOfTen[16];
    }
    value *= kPowersOfTen[scale];
  } else {
    scale = -scale;
    for (; scale > 15; scale -= 16) {
      value /= kPowersOfTen[16];
    }
    value /= kPowersOfTen[scale];
  }
  return entry.sign ? -value : value;
}

}  // namespace vel::values

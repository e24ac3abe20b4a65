#include "runtime/values/decimal_float.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/values/decimal_digit_lanes.h"
#include "runtime/values/decimal_limbs.h"

namespace vel::values {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kAccumulatedDigits = 16;

// 10^0 to 10^16, all exact in a double.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                   1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};

/// Leading significant digits of |value| as one number, and the decimal exponent of the first
/// one: the first 16 truncated (10^15 to 10^16 - 1) as printed, or 15 rounded half up.
struct LeadingDigits {
  uint64_t digits;
  int exponent10;
};

constexpr uint64_t kSixteenDigits = 10000000000000000ULL;  // 10^16
constexpr uint64_t kFifteenDigits = kSixteenDigits / 10;

/// Powers of ten up to 10^38, the largest below 2^128.
constexpr auto kPowersOfTen128 = [] {
  std::array<unsigned __int128, 39> powers{};
  powers[0] = 1;
  for (size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
  return powers;
}();

/// LeadingDigits by printing the exact expansion, for magnitudes the integer path does not
/// cover. Printing with 40 digits rounds only at the 41st; that rounding reaches the 16th digit
/// only through a run of nines, which then prints as zeros, so that one case is printed again
/// in full (a double's exact expansion never needs more than 767 digits).
LeadingDigits LeadingDigitsByPrinting(double magnitude) {
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
  LeadingDigits leading{static_cast<uint64_t>(text[0] - '0'), 0};
  for (int i = 1; i < kAccumulatedDigits; ++i) {
    leading.digits = leading.digits * 10 + static_cast<uint64_t>(text[i + 1] - '0');
  }
  const char* exponentText = text;
  while (*exponentText != 'e') {
    ++exponentText;
  }
  leading.exponent10 = std::atoi(exponentText + 1);
  return leading;
}

/// m * 2^e * 10^k rounded half up to an integer, in 128-bit arithmetic; false when that would
/// not fit. A nonnegative k with e < 0 (values below 10^15) needs one product and a rounding
/// shift; a negative k one quotient.
bool ScaleRounded(uint64_t m, int e, int k, unsigned __int128& rounded) {
  if (k >= 0) {
    if (k > 22 || e >= 0) return false;  // m * 10^k fits 128 bits up to k = 22
    // Up to 10^19 the power fits 64 bits and one multiplication gives the product.
    const unsigned __int128 product = k <= 19 ? static_cast<unsigned __int128>(m) * static_cast<uint64_t>(kPowersOfTen128[k])
                                              : m * kPowersOfTen128[k];
    rounded = (product + (static_cast<unsigned __int128>(1) << (-e - 1))) >> -e;
    return true;
  }
  if (-k >= static_cast<int>(kPowersOfTen128.size()) || e > 74 || e < -2) return false;
  // Two spare bits below the point make the numerator an integer for e = -2 and -1.
  const int spare = e < 0 ? 2 : 0;
  const unsigned __int128 numerator = static_cast<unsigned __int128>(m) << (e + spare);
  const unsigned __int128 divisor = kPowersOfTen128[-k] << spare;
  rounded = (numerator + divisor / 2) / divisor;
  return true;
}

/// The 15 significant digits of |value| rounded half up, in integer arithmetic, exact for
/// magnitudes from about 10^-7 to 2^127 (every number a decimal entry holds in its upper
/// positions, and most others): the double is m * 2^e, and m * 2^e * 10^k rounded for the k
/// that leaves 15 digits needs one 128-bit product or quotient. Rounding the exact value at
/// once gives what rounding its first 16 digits half up gives. False outside that range.
bool FifteenDigitsExactly(double magnitude, LeadingDigits& leading) {
  const auto bits = std::bit_cast<uint64_t>(magnitude);
  const int biasedExponent = static_cast<int>(bits >> 52);
  if (biasedExponent == 0) return false;  // subnormal: far below the range
  const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  const int e = biasedExponent - 1075;
  const int log2 = e + 52;  // floor(log2(magnitude))
  if (log2 < -24 || log2 > 126) return false;
  // floor(log2 * log10(2)), exact over this range: the magnitude's decimal exponent or one less.
  int exponent10 = (log2 * 78913) >> 18;
  unsigned __int128 rounded;
  if (!ScaleRounded(m, e, kSignificantDigits - 1 - exponent10, rounded)) return false;
  if (rounded > kFifteenDigits) {
    // The estimate was one too low: 16 digits. Round again one place higher.
    ++exponent10;
    if (!ScaleRounded(m, e, kSignificantDigits - 1 - exponent10, rounded)) return false;
  }
  if (rounded == kFifteenDigits) {  // 999...9 rounded up to a new leading digit
    rounded /= 10;
    ++exponent10;
  }
  if (rounded < kFifteenDigits / 10 || rounded >= kFifteenDigits) return false;
  leading.digits = static_cast<uint64_t>(rounded);
  leading.exponent10 = exponent10;
  return true;
}

}  // namespace

DecimalEntry DecimalFromFloat64(double value) {
  DecimalEntry entry = DecimalZero();
  if (!std::isfinite(value) || value == 0.0) {
    return entry;
  }
  const double magnitude = std::fabs(value);
  LeadingDigits leading;
  if (!FifteenDigitsExactly(magnitude, leading)) {
    leading = LeadingDigitsByPrinting(magnitude);
    // Half up at the 16th digit.
    leading.digits = (leading.digits + 5) / 10;
    if (leading.digits == kFifteenDigits) {  // 999...9 rounded up to a new leading digit
      leading.digits /= 10;
      ++leading.exponent10;
    }
  }
  const uint64_t significand = leading.digits;
  const int exponent10 = leading.exponent10;
  // The leading digit sits at position 32 + exponent10; the 15th one 14 positions lower. The
  // 15 digits go in as two words of unpacked digits (the 16th byte is a zero).
  const int position = DecimalEntry::kUnits + exponent10 - (kSignificantDigits - 1);
  const uint64_t lowDigits = limbs::Unpack(static_cast<uint32_t>(significand % limbs::kLimbBase));
  const uint64_t highDigits = limbs::Unpack(static_cast<uint32_t>(significand / limbs::kLimbBase));
  entry.sign = std::signbit(value) ? 1 : 0;
  if (position >= 0 && position + 16 <= DecimalEntry::kPositions) {
    // All 15 digits land on the grid: the leading one is nonzero, and the lowest nonzero one
    // is found in the words just made, without reading them back.
    lanes::Store(entry.digits + position, lowDigits);
    lanes::Store(entry.digits + position + 8, highDigits);
    const int trailingZeros = lowDigits != 0 ? std::countr_zero(lowDigits) / 8 : 8 + std::countr_zero(highDigits) / 8;
    entry.low = static_cast<uint8_t>(position + trailingZeros);
    entry.high = static_cast<uint8_t>(position + kSignificantDigits - 1);
    return entry;
  }
  uint8_t run[16];
  lanes::Store(run, lowDigits);
  lanes::Store(run + 8, highDigits);
  for (int i = 0; i < kSignificantDigits; ++i) {
    if (position + i >= 0 && position + i < DecimalEntry::kPositions) {
      entry.digits[position + i] = run[i];
    }
  }
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

// Doubles placed on the decimal grid, checked against the double's exact decimal expansion:
// the expected value is the first 16 printed digits of that expansion, rounded half up to 15
// and cut to the 32.32 positions, written out by this test itself.

#include "runtime/values/decimal_float.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "runtime/values/decimal_text.h"

namespace vel::values {
namespace {

std::string EntryText(const DecimalEntry& entry) {
  char text[kMaxDecimalTextLength];
  return std::string(text, DecimalToText(entry, text));
}

/// The value rounded half up to 15 significant digits, as plain text of the positions from
/// 10^31 down to 10^-32 (higher digits lost, lower ones dropped).
std::string ExpectedText(double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  char printed[1100];
  const auto end = std::to_chars(printed, printed + sizeof printed, std::fabs(value),
                                 std::chars_format::scientific, 800).ptr;
  int exponent = std::atoi(std::string(std::find(printed, end, 'e') + 1, end).c_str());
  std::string digits = std::string(1, printed[0]) + std::string(printed + 2, 14);
  if (printed[16] >= '5') {
    int i = 14;
    for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i) digits[static_cast<size_t>(i)] = '0';
    if (i < 0) {
      digits = "1" + digits.substr(0, 14);
      ++exponent;
    } else {
      ++digits[static_cast<size_t>(i)];
    }
  }
  // Digit k of `digits` has weight 10^(exponent - k); lay out positions 10^31 ... 10^-32.
  std::string integer, fraction;
  for (int weight = 31; weight >= -32; --weight) {
    const int k = exponent - weight;
    const char digit = k >= 0 && k < 15 ? digits[static_cast<size_t>(k)] : '0';
    (weight >= 0 ? integer : fraction) += digit;
  }
  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
  fraction.erase(fraction.find_last_not_of('0') + 1);
  std::string text = integer + (fraction.empty() ? "" : "." + fraction);
  if (text == "0") return text;
  return (std::signbit(value) ? "-" : "") + text;
}

void ExpectPlaced(double value) {
  const DecimalEntry entry = DecimalFromFloat64(value);
  EXPECT_EQ(EntryText(entry), ExpectedText(value)) << std::hexfloat << value;
  // The range in use must be the one the digits themselves give.
  DecimalEntry normalised = entry;
  NormaliseDecimal(normalised);
  EXPECT_EQ(entry.low, normalised.low) << std::hexfloat << value;
  EXPECT_EQ(entry.high, normalised.high) << std::hexfloat << value;
  EXPECT_EQ(entry.sign, normalised.sign) << std::hexfloat << value;
}

TEST(DecimalFromFloat64, RandomDoublesMatchTheirExactExpansion) {
  std::mt19937_64 rng(20261210);
  // Exponents from 2^-40 to 2^140: every magnitude the grid holds digits of, and beyond it.
  for (int i = 0; i < 30000; ++i) {
    const uint64_t biased = 1023 - 40 + rng() % 181;
    const uint64_t bits = (rng() & 1) << 63 | biased << 52 | (rng() & ((uint64_t{1} << 52) - 1));
    ExpectPlaced(std::bit_cast<double>(bits));
  }
  // Short decimals as typed into REAL variables, which sit next to their decimal neighbours.
  for (int i = 0; i < 20000; ++i) {
    const double cents = static_cast<double>(rng() % 100000000000ULL) / 100.0;
    ExpectPlaced(cents);
    ExpectPlaced(-cents / 1000.0);
  }
}

TEST(DecimalFromFloat64, PowersOfTwoAndTenAndTheirNeighbours) {
  std::vector<double> values;
  for (int power = -45; power <= 140; ++power) values.push_back(std::ldexp(1.0, power));
  for (int power = -12; power <= 40; ++power) values.push_back(std::pow(10.0, power));
  for (const double value : std::vector<double>(values)) {
    values.push_back(std::nextafter(value, 0.0));
    values.push_back(std::nextafter(value, INFINITY));
  }
  for (const double value : values) {
    ExpectPlaced(value);
    ExpectPlaced(-value);
  }
}

TEST(DecimalFromFloat64, SixteenthDigitDecidesTheRounding) {
  // Ties at the 16th digit round away from zero, a 4 followed by nines rounds down, and nines
  // rounded up gain a leading digit.
  EXPECT_EQ(EntryText(DecimalFromFloat64(1234567890123465.0)), "1234567890123470");
  EXPECT_EQ(EntryText(DecimalFromFloat64(-1234567890123465.0)), "-1234567890123470");
  EXPECT_EQ(EntryText(DecimalFromFloat64(1234567890123464.0)), "1234567890123460");
  EXPECT_EQ(EntryText(DecimalFromFloat64(999999999999999.5)), "1000000000000000");
  EXPECT_EQ(EntryText(DecimalFromFloat64(9999999999999998.0)), "10000000000000000");
  // 0.15 is stored just below itself, and that is invisible at 15 digits; 2.675 likewise.
  EXPECT_EQ(EntryText(DecimalFromFloat64(0.15)), "0.15");
  EXPECT_EQ(EntryText(DecimalFromFloat64(2.675)), "2.675");
  EXPECT_EQ(EntryText(DecimalFromFloat64(1234.5)), "1234.5");
  ExpectPlaced(std::nextafter(1234567890123465.0, 0.0));
  ExpectPlaced(std::nextafter(999999999999999.5, 0.0));
  // From 10^15 to 2^53 the 15 digits are rounded by a quotient while the double still has
  // halves and quarters below its units.
  EXPECT_EQ(EntryText(DecimalFromFloat64(1000000000000005.5)), "1000000000000010");
  EXPECT_EQ(EntryText(DecimalFromFloat64(1000000000000004.75)), "1000000000000000");
  EXPECT_EQ(EntryText(DecimalFromFloat64(9999999999999995.0)), "10000000000000000");
  EXPECT_EQ(EntryText(DecimalFromFloat64(9999999999999994.0)), "9999999999999990");
  std::mt19937_64 rng(15);
  for (int i = 0; i < 2000; ++i) {
    ExpectPlaced(1e15 + static_cast<double>(rng() % 4000) / 4.0);
    ExpectPlaced(std::ldexp(1.0, 50) + static_cast<double>(rng() % (uint64_t{1} << 52)) / 4.0);
    // Below 10^-5 the scaling power no longer fits one word.
    ExpectPlaced(std::ldexp(static_cast<double>(rng() % (uint64_t{1} << 53)), -70 - static_cast<int>(rng() % 10)));
  }
}

TEST(DecimalFromFloat64, NonFiniteZeroAndExtremesGiveZeroOrTheirLowDigits) {
  EXPECT_EQ(EntryText(DecimalFromFloat64(-0.0)), "0");
  EXPECT_EQ(DecimalFromFloat64(-0.0).sign, 0);
  EXPECT_EQ(EntryText(DecimalFromFloat64(std::nan(""))), "0");
  EXPECT_EQ(EntryText(DecimalFromFloat64(INFINITY)), "0");
  EXPECT_EQ(EntryText(DecimalFromFloat64(-INFINITY)), "0");
  EXPECT_EQ(EntryText(DecimalFromFloat64(1.7976931348623157e308)), "0");
  EXPECT_EQ(EntryText(DecimalFromFloat64(4.9e-324)), "0");
  EXPECT_EQ(EntryText(DecimalFromFloat64(1e-33)), "0");
  // Above 10^32 only the digits that land in the 32 integer positions remain.
  EXPECT_EQ(EntryText(DecimalFromFloat64(1.5e32)), "50000000000000000000000000000000");
  ExpectPlaced(std::ldexp(1.0, 127));
  ExpectPlaced(std::nextafter(std::ldexp(1.0, 127), 0.0));
  ExpectPlaced(1.2345678901234567e-17);
}

}  // namespace
}  // namespace vel::values

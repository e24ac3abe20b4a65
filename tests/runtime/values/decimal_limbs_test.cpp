#include "runtime/values/decimal_limbs.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_digit_lanes.h"
#include "runtime/values/decimal_text.h"

namespace vel::values {
namespace {

/// Eight digits, lowest position first, as a word.
uint64_t Word(const char* lowestFirst) {
  uint64_t word = 0;
  for (int i = 0; i < 8; ++i) {
    word |= static_cast<uint64_t>(lowestFirst[i] - '0') << (8 * i);
  }
  return word;
}

TEST(DecimalLimbs, PackAndUnpackAgreeWithPlainDigitArithmetic) {
  EXPECT_EQ(limbs::Pack(Word("00000000")), 0u);
  EXPECT_EQ(limbs::Pack(Word("87654321")), 12345678u);
  EXPECT_EQ(limbs::Pack(Word("99999999")), 99999999u);
  EXPECT_EQ(limbs::Unpack(10000000), Word("00000001"));
  EXPECT_EQ(limbs::Unpack(99999999), Word("99999999"));
  // Every lane boundary of the conversions (10^k and 10^k - 1), and a spread of other values.
  std::mt19937 random(7);
  for (uint32_t value = 0; value < 100000000; value = value * 3 + 1 + random() % 1000) {
    for (const uint32_t probe : {value, value % 10000 * 10000, value / 100 * 100 + 99}) {
      const uint32_t candidate = probe % 100000000;
      uint64_t expected = 0;
      uint32_t rest = candidate;
      for (int digit = 0; digit < 8; ++digit) {
        expected |= static_cast<uint64_t>(rest % 10) << (8 * digit);
        rest /= 10;
      }
      ASSERT_EQ(limbs::Unpack(candidate), expected) << candidate;
      ASSERT_EQ(limbs::Pack(expected), candidate) << candidate;
    }
  }
}

std::string Text(const DecimalEntry& entry) {
  char text[kMaxDecimalTextLength];
  return std::string(text, DecimalToText(entry, text));
}

DecimalEntry Number(const std::string& text) { return DecimalFromText(text.data(), text.size()); }

std::string RandomDigits(std::mt19937_64& random, int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) {
    digits += static_cast<char>('0' + random() % 10);
  }
  return digits;
}

/// A random number with up to `integerDigits` and `fractionDigits` digits, zero runs included
/// (they make limbs of 0 and quotient digits of 0 and 9, where long division corrects itself).
std::string RandomNumber(std::mt19937_64& random, int integerDigits, int fractionDigits) {
  std::string text = random() % 2 ? "-" : "";
  std::string integer = RandomDigits(random, 1 + static_cast<int>(random() % integerDigits));
  std::string fraction = RandomDigits(random, static_cast<int>(random() % (fractionDigits + 1)));
  for (std::string* part : {&integer, &fraction}) {
    if (!part->empty() && random() % 3 == 0) {
      const size_t start = random() % part->size();
      const size_t length = std::min<size_t>(part->size() - start, 1 + random() % 12);
      part->replace(start, length, std::string(length, random() % 2 ? '0' : '9'));
    }
  }
  return text + integer + (fraction.empty() ? "" : "." + fraction);
}

TEST(DecimalLimbs, ProductsDivideBackAndSumsSubtractBack) {
  // A product of at most 15 + 16 integer and 15 + 16 fraction digits is exact, so dividing it
  // by one factor gives back the other exactly (the quotient is rounded to 31 places, which it
  // fits). Sums within range likewise subtract back. Both run across all the limb counts of
  // the operands and both ways round for the signs.
  std::mt19937_64 random(20261208);
  for (int round = 0; round < 3000; ++round) {
    const DecimalEntry a = Number(RandomNumber(random, 15, 15));
    const DecimalEntry b = Number(RandomNumber(random, 16, 16));
    const DecimalEntry product = MultiplyDecimals(a, b);
    if (DecimalIsNonZero(b)) {
      ASSERT_EQ(Text(DivideDecimals(product, b)), Text(a)) << Text(product) << " / " << Text(b);
    }
    DecimalEntry sum = a;
    AddDecimals(sum, b);
    DecimalEntry back = sum;
    SubtractDecimals(back, b);
    ASSERT_EQ(Text(back), Text(a)) << Text(a) << " + " << Text(b);
    DecimalEntry reversed = b;
    SubtractDecimals(reversed, a);
    DecimalEntry forward = a;
    SubtractDecimals(forward, b);
    AddDecimals(forward, reversed);
    ASSERT_FALSE(DecimalIsNonZero(forward)) << Text(a) << " - " << Text(b);
    ASSERT_EQ(forward.sign, 0);
  }
}

TEST(DecimalLimbs, LongQuotientsKeepTheirLowDigitsAndLoseTheHighOnes) {
  // Dividing by a tiny divisor of one limb shifts the dividend far up: only the low 32
  // integer digits survive. Divisors of several limbs give quotients that run to the 31st place.
  EXPECT_EQ(Text(DivideDecimals(Number("12345678901234567890.123"), Number("0.00000000000000000000000000000002"))),
            "6150000000000000000000000000000");
  const DecimalEntry wide = Number("-98765432109876543210987654321098.76543210987654321098765432109876");
  EXPECT_EQ(Text(DivideDecimals(wide, wide)), "1");
  EXPECT_EQ(Text(DivideDecimals(wide, Number("12345678.00000001"))), "-8000000656900047385893353.5542256088728844486537816925737");
  EXPECT_EQ(Text(DivideDecimals(Number("-1"), Number("9876543210987654321.0987654321"))), "-0.0000000000000000001012499999886");
}

}  // namespace
}  // namespace vel::values

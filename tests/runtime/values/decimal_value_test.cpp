#include "runtime/values/decimal_value.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/values/decimal_text.h"
#include "runtime/values/decimal_wide.h"
#include "runtime/values/decimal_words.h"

namespace vel::values {
namespace {

constexpr uint64_t kLimbBase = DecimalValue::kLimbBase;

DecimalValue Value(const std::string& text) { return PackDecimal(DecimalFromText(text.data(), text.size())); }

std::string Text(const DecimalValue& value) {
  char text[kMaxDecimalTextLength];
  return std::string(text, DecimalToText(UnpackDecimal(value), text));
}

TEST(DecimalWords, ReciprocalDivisionAgreesWithTheMachineDivision) {
  // Quotients and remainders by 10^16 and by the reciprocal of other normalised divisors, at
  // the edges of the numerators they take (high word just below the divisor) and at random.
  std::mt19937_64 random(16);
  auto check = [](uint64_t high, uint64_t low) {
    uint64_t expectedRemainder;
    const uint64_t expected = wide::DivideTwoWords(high, low, kLimbBase, expectedRemainder);
    uint64_t remainder;
    ASSERT_EQ(wide::DivideByTenToTheSixteen(high, low, remainder), expected) << high << ":" << low;
    ASSERT_EQ(remainder, expectedRemainder) << high << ":" << low;
  };
  for (const uint64_t high : {uint64_t{0}, uint64_t{1}, kLimbBase / 2, kLimbBase - 1}) {
    for (const uint64_t low : {uint64_t{0}, uint64_t{1}, kLimbBase - 1, kLimbBase, ~uint64_t{0}, uint64_t{1} << 63}) {
      check(high, low);
    }
  }
  for (int round = 0; round < 200000; ++round) {
    check(random() % kLimbBase, random());
  }
  for (int round = 0; round < 200000; ++round) {
    const uint64_t divisor = random() | (uint64_t{1} << 63);
    const uint64_t reciprocal = wide::ReciprocalOf(divisor);
    const uint64_t high = round % 2 == 0 ? random() % divisor : divisor - 1;
    const uint64_t low = round % 3 == 0 ? ~uint64_t{0} : random();
    uint64_t expectedRemainder;
    const uint64_t expected = wide::DivideTwoWords(high, low, divisor, expectedRemainder);
    uint64_t remainder;
    ASSERT_EQ(wide::DivideByReciprocal(high, low, divisor, reciprocal, remainder), expected);
    ASSERT_EQ(remainder, expectedRemainder);
  }
}

/// A binary number of up to five words times a word, plus a word.
std::vector<uint64_t> MultiplyAdd(std::vector<uint64_t> words, uint64_t factor, uint64_t addend) {
  uint64_t carry = addend;
  for (uint64_t& word : words) {
    const unsigned __int128 product = static_cast<unsigned __int128>(word) * factor + carry;
    word = static_cast<uint64_t>(product);
    carry = static_cast<uint64_t>(product >> 64);
  }
  words.push_back(carry);
  return words;
}

/// The words of a number given as decimal limbs.
std::vector<uint64_t> WordsOf(const uint64_t (&limbs)[DecimalValue::kLimbs]) {
  std::vector<uint64_t> words(1, 0);
  for (int k = DecimalValue::kLimbs - 1; k >= 0; --k) {
    words = MultiplyAdd(words, kLimbBase, limbs[k]);
  }
  return words;
}

TEST(DecimalWords, LongDivisionAddsTheDivisorBackWhenTheTrialWordIsOneTooLarge) {
  // A remainder of q * divisor - 1 has the same top words as q * divisor whenever the lowest
  // word of that product is not 0, so the trial quotient word is q, the subtraction borrows,
  // and only adding the divisor back gives q - 1 and a remainder of divisor - 1. Divisors of
  // three and four words (the trial is exact for fewer), whose lowest limb is odd.
  std::mt19937_64 random(3);
  int cases = 0;
  for (int round = 0; round < 400; ++round) {
    const int words = 3 + round % 2;
    uint64_t limbs[DecimalValue::kLimbs] = {random() % kLimbBase | 1, random() % kLimbBase, random() % kLimbBase, 0};
    if (words == 4) {
      limbs[3] = 1 + random() % (kLimbBase - 1);
    } else {
      limbs[2] = 10000000 + random() % (kLimbBase / 2);  // three words: at least 2^128
      limbs[3] = 0;
    }
    const words::LongDivisor divisor(limbs);
    const std::vector<uint64_t> divisorWords = WordsOf(limbs);
    for (const uint64_t quotient : {uint64_t{1}, uint64_t{7}, uint64_t{123456789}, kLimbBase - 1}) {
      // target = quotient * divisor - 1, split into (remainder before the step, limb fed).
      std::vector<uint64_t> target = MultiplyAdd(divisorWords, quotient, 0);
      if (target[0] == 0) {
        continue;
      }
      --target[0];
      words::Remainder before = {};
      uint64_t rest = 0;
      for (int i = static_cast<int>(target.size()) - 1; i >= 0; --i) {
        const uint64_t word = wide::DivideTwoWords(rest, target[static_cast<size_t>(i)], kLimbBase, rest);
        if (i < DecimalValue::kLimbs + 1) {
          before[i] = word;
        } else {
          ASSERT_EQ(word, 0u);
        }
      }
      ASSERT_EQ(divisor.Step(before, rest), quotient - 1) << round;
      // The remainder left is divisor - 1.
      for (size_t i = 0; i < DecimalValue::kLimbs + 1; ++i) {
        const uint64_t expected = i < divisorWords.size() ? divisorWords[i] - (i == 0 ? 1 : 0) : 0;
        ASSERT_EQ(before[i], expected) << round << " word " << i;
      }
      ++cases;
    }
  }
  EXPECT_GT(cases, 1000);
}

TEST(DecimalValues, NegativesAreComplementsAndZeroIsNeverNegative) {
  for (const char* text : {"1", "0.00000000000000000000000000000001", "10000000000000000", "99999999999999999999999999999999.99999999999999999999999999999999",
                           "0.5", "12345678901234567.8901234567890123"}) {
    DecimalValue positive = Value(text);
    DecimalValue negative = Value(std::string("-") + text);
    EXPECT_FALSE(ValueIsNegative(positive)) << text;
    EXPECT_TRUE(ValueIsNegative(negative)) << text;
    EXPECT_EQ(CompareValues(negative, positive), -1) << text;
    EXPECT_EQ(CompareValues(positive, negative), 1) << text;
    EXPECT_EQ(CompareValues(negative, ValueZero()), -1) << text;
    NegateValue(negative);
    EXPECT_EQ(CompareValues(negative, positive), 0) << text;
    EXPECT_EQ(Text(negative), text);
    uint64_t magnitude[DecimalValue::kLimbs];
    MagnitudeLimbs(Value(std::string("-") + text), magnitude);
    for (int k = 0; k < DecimalValue::kLimbs; ++k) {
      EXPECT_EQ(magnitude[k], positive.limbs[k]) << text;
    }
  }
  DecimalValue zero = Value("-0.000");
  EXPECT_FALSE(ValueIsNegative(zero));
  NegateValue(zero);
  EXPECT_FALSE(ValueIsNonZero(zero));
  EXPECT_FALSE(ValueIsNegative(zero));
  // -5 < -4.9 < -0.1 < 0 < 0.1: a larger complement is a larger number.
  const char* ascending[] = {"-5", "-4.9", "-0.1", "0", "0.1"};
  for (int i = 0; i + 1 < 5; ++i) {
    EXPECT_EQ(CompareValues(Value(ascending[i]), Value(ascending[i + 1])), -1) << ascending[i];
  }
  EXPECT_EQ(IntegerPartModulo32(Value("-4294967297.9")), 1u);
  EXPECT_EQ(IntegerPartModulo32(Value("-12.5")), 12u);
}

TEST(DecimalValues, SumsNearTheLimitLoseTheirCarryAndKeepTheirSign) {
  // Magnitudes of 5 * 10^63 units and more take the careful path; both signs, exact limits.
  struct Case {
    const char* a;
    const char* b;
    const char* sum;
  };
  const Case cases[] = {
      {"50000000000000000000000000000000", "50000000000000000000000000000000", "0"},
      {"-50000000000000000000000000000000", "-50000000000000000000000000000000", "0"},
      {"50000000000000000000000000000000", "50000000000000000000000000000000.5", "0.5"},
      {"-50000000000000000000000000000000", "-50000000000000000000000000000000.5", "-0.5"},
      {"99999999999999999999999999999999", "1", "0"},
      {"-99999999999999999999999999999999", "-2.25", "-1.25"},
      {"-50000000000000000000000000000000", "50000000000000000000000000000000", "0"},
      {"-99999999999999999999999999999999.99999999999999999999999999999999", "99999999999999999999999999999999.99999999999999999999999999999998",
       "-0.00000000000000000000000000000001"},
      {"49999999999999999999999999999999.99999999999999999999999999999999", "50000000000000000000000000000000", "99999999999999999999999999999999.99999999999999999999999999999999"},
      {"-49999999999999999999999999999999.99999999999999999999999999999999", "-50000000000000000000000000000000",
       "-99999999999999999999999999999999.99999999999999999999999999999999"},
  };
  for (const Case& c : cases) {
    DecimalValue sum = Value(c.a);
    AddValues(sum, Value(c.b));
    EXPECT_EQ(Text(sum), c.sum) << c.a << " + " << c.b;
    DecimalValue difference = Value(c.a);
    DecimalValue negated = Value(c.b);
    NegateValue(negated);
    SubtractValues(difference, negated);
    EXPECT_EQ(Text(difference), c.sum) << c.a << " - -" << c.b;
  }
}

}  // namespace
}  // namespace vel::values

#include "runtime/values/decimal_stack.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <thread>

#include "runtime/values/decimal_text.h"

namespace vel::values {
namespace {

class DecimalStackTest : public ::testing::Test {
 protected:
  // Each test gets a fresh stack of its own, installed as the thread's current one.
  void SetUp() override { m_previous = ExchangeCurrentDecimalStack(&m_stack); }
  void TearDown() override { ExchangeCurrentDecimalStack(m_previous); }

  DecimalStack m_stack;
  DecimalStack* m_previous = nullptr;

  /// Pops the top of the current stack as text.
  static std::string PopText() {
    char text[kMaxDecimalTextLength];
    const size_t length = CurrentDecimalStack().PopText(text, sizeof text);
    return std::string(text, length);
  }
  static std::string Read(const char* text) {
    DecPushText(text);
    return PopText();
  }
  static std::string Binary(const char* second, const char* top, void (*operation)()) {
    DecPushText(second);
    DecPushText(top);
    operation();
    return PopText();
  }
};

TEST_F(DecimalStackTest, TextIsReadByTheNumberGrammar) {
  EXPECT_EQ(Read("  -12.50"), "-12.5");
  EXPECT_EQ(Read("+5"), "0");
  EXPECT_EQ(Read("1e3"), "1");
  EXPECT_EQ(Read("1.0e3"), "1000");
  EXPECT_EQ(Read("1.e2"), "100");
  EXPECT_EQ(Read("2.5E-1"), "0.25");
  EXPECT_EQ(Read("2.5e+1"), "2.5");
  EXPECT_EQ(Read("\t7"), "0");  // only byte 32 counts as a blank
  EXPECT_EQ(Read("12abc"), "12");
  EXPECT_EQ(Read(""), "0");
  EXPECT_EQ(Read("-"), "0");
  EXPECT_EQ(Read("-0.000"), "0");
  EXPECT_EQ(Read(".5"), "0.5");
  DecPushText(nullptr);
  EXPECT_EQ(PopText(), "0");
}

TEST_F(DecimalStackTest, TextKeepsThe32LowestIntegerAndFirst32FractionDigits) {
  EXPECT_EQ(Read("123456789012345678901234567890123456"), "56789012345678901234567890123456");
  EXPECT_EQ(Read("0.123456789012345678901234567890129"), "0.12345678901234567890123456789012");
  // An exponent moves the digits; what leaves the 64 positions is lost, never rounded.
  EXPECT_EQ(Read("0.5e32"), "50000000000000000000000000000000");
  EXPECT_EQ(Read("1.0e-32"), "0.00000000000000000000000000000001");
  EXPECT_EQ(Read("1.9e-32"), "0.00000000000000000000000000000001");
  EXPECT_EQ(Read("1.0e-33"), "0");
  EXPECT_EQ(Read("1.0e999999999999999999"), "0");
}

TEST_F(DecimalStackTest, DecimalTextHasNoTrailingZerosSignOfZeroOrExponent) {
  DecPushInt32(150);
  DecPushInt32(100);
  DecDivide();
  EXPECT_EQ(PopText(), "1.5");
  EXPECT_EQ(Read("-0.25"), "-0.25");
  EXPECT_EQ(Read("1000"), "1000");
  EXPECT_EQ(Read("0.000001"), "0.000001");
  DecPushText("-0.004");
  DecRound(2);
  EXPECT_EQ(PopText(), "0");
  DecPushInt32(INT_MIN);
  EXPECT_EQ(PopText(), "-2147483648");
  DecPushUInt32(UINT_MAX);
  EXPECT_EQ(PopText(), "4294967295");
  // A short buffer receives what fits; the full length is still reported.
  DecPushText("-123.25");
  char shortBuffer[3];
  EXPECT_EQ(CurrentDecimalStack().PopText(shortBuffer, sizeof shortBuffer), 7u);
  EXPECT_EQ(std::string(shortBuffer, 3), "-12");
}

TEST_F(DecimalStackTest, DivisionRoundsTo31PlacesAndZeroDivisorGivesZero) {
  EXPECT_EQ(Binary("1", "3", DecDivide), "0.3333333333333333333333333333333");
  EXPECT_EQ(Binary("2", "3", DecDivide), "0.6666666666666666666666666666667");
  EXPECT_EQ(Binary("-2", "3", DecDivide), "-0.6666666666666666666666666666667");
  EXPECT_EQ(Binary("7", "0", DecDivide), "0");
  EXPECT_EQ(Binary("7", "0.000", DecDivide), "0");
  EXPECT_EQ(Binary("123.456", "100", DecDivide), "1.23456");
  EXPECT_EQ(Binary("5", "0.01", DecDivide), "500");
  // The 32nd place decides: 0.00000000000000000000000000000005 / 1 rounds up.
  EXPECT_EQ(Binary("0.00000000000000000000000000000005", "10", DecDivide), "0");
  EXPECT_EQ(Binary("0.00000000000000000000000000000015", "1", DecDivide), "0.0000000000000000000000000000002");
  // Trial digits that overshoot must be corrected (leading divisor digit 1 is normalised).
  EXPECT_EQ(Binary("1999999", "199", DecDivide), "10050.2462311557788944723618090452261");
}

TEST_F(DecimalStackTest, ArithmeticPopsTwoAndPushesOne) {
  EXPECT_EQ(Binary("10", "3", DecSubtract), "7");
  EXPECT_EQ(Binary("10", "3", DecSubtractReversed), "-7");
  EXPECT_EQ(Binary("-1.5", "1.5", DecAdd), "0");
  EXPECT_EQ(Binary("0.1", "-0.25", DecAdd), "-0.15");
  EXPECT_EQ(Binary("-2.5", "0.4", DecMultiply), "-1");
  EXPECT_EQ(Binary("99999999999999999999999999999999", "1", DecAdd), "0");  // carry lost
  EXPECT_EQ(Binary("0.00000000000000000000000000000003", "0.5", DecMultiply), "0.00000000000000000000000000000001");
  EXPECT_EQ(Binary("-0.00000000000000001", "0.0000000000000001", DecMultiply), "0");
  EXPECT_EQ(Binary("10000000000000000", "10000000000000000", DecMultiply), "0");

  DecPushInt32(1);
  DecPushInt32(2);
  DecPushInt32(3);
  DecAdd();
  EXPECT_EQ(CurrentDecimalStack().Count(), 2);
  DecMultiply();
  EXPECT_EQ(CurrentDecimalStack().Count(), 1);
  EXPECT_EQ(DecPopInt32(), 5);
}

/// Pushes second and top, runs `operation`, and checks the entry left on top as stored: the
/// range bounds name nonzero digits, every digit outside it is 0 and zero has no sign.
void ExpectWellFormedResult(DecimalStack& stack, const char* second, const char* top, void (DecimalStack::*operation)(),
                            const char* expected) {
  stack.PushText(second, std::strlen(second));
  stack.PushText(top, std::strlen(top));
  (stack.*operation)();
  const DecimalEntry result = stack.Peek();
  char text[kMaxDecimalTextLength];
  EXPECT_EQ(std::string(text, stack.PopText(text, sizeof text)), expected) << second << " and " << top;
  ASSERT_LE(result.low, result.high);
  ASSERT_LT(result.high, DecimalEntry::kPositions);
  for (int position = 0; position < DecimalEntry::kPositions; ++position) {
    if (position < result.low || position > result.high) {
      EXPECT_EQ(result.digits[position], 0) << "position " << position << " of " << expected;
    }
  }
  const bool zero = std::string(expected) == "0";
  EXPECT_EQ(result.digits[result.low] != 0, !zero) << expected;
  EXPECT_EQ(result.digits[result.high] != 0, !zero) << expected;
  if (zero) {
    EXPECT_EQ(result.sign, 0);
    EXPECT_EQ(result.low, DecimalEntry::kUnits);
  }
}

TEST(DecimalSums, CarriesAndBorrowsCrossEveryWordAndLeaveAWellFormedEntry) {
  DecimalStack stack;
  // Positions group in words of eight digits: 0.00000001 is the lowest digit of the word below
  // the units, 10000000 the highest digit of the units word.
  ExpectWellFormedResult(stack, "0.99999999", "0.00000001", &DecimalStack::Add, "1");
  ExpectWellFormedResult(stack, "99999999.99999999", "0.00000001", &DecimalStack::Add, "100000000");
  ExpectWellFormedResult(stack, "9999999999999999.9999999999999999", "0.0000000000000001", &DecimalStack::Add, "10000000000000000");
  ExpectWellFormedResult(stack, "0.00000000000000000000000099999999", "0.00000000000000000000000000000001", &DecimalStack::Add,
                         "0.000000000000000000000001");
  ExpectWellFormedResult(stack, "100000000", "0.00000001", &DecimalStack::Subtract, "99999999.99999999");
  ExpectWellFormedResult(stack, "0.00000001", "100000000", &DecimalStack::Subtract, "-99999999.99999999");
  ExpectWellFormedResult(stack, "-100000000", "-0.00000001", &DecimalStack::Subtract, "-99999999.99999999");
  ExpectWellFormedResult(stack, "10000000000000000000000000000000", "0.00000000000000000000000000000001", &DecimalStack::Subtract,
                         "9999999999999999999999999999999.99999999999999999999999999999999");
  // Operands over four words run word by word, over five or more as one chain across the
  // whole entry; carries and a negative difference behave the same either way.
  ExpectWellFormedResult(stack, "99999999999999999999.99999999", "0.00000001", &DecimalStack::Add, "100000000000000000000");
  ExpectWellFormedResult(stack, "99999999999999999999.9999999999999", "0.0000000000001", &DecimalStack::Add, "100000000000000000000");
  ExpectWellFormedResult(stack, "999999999999999999999999.9999999999999", "0.0000000000001", &DecimalStack::Add,
                         "1000000000000000000000000");
  ExpectWellFormedResult(stack, "-12345678901234567890.1234567890123", "-87654321098765432109.8765432109877", &DecimalStack::Add,
                         "-100000000000000000000");
  ExpectWellFormedResult(stack, "0.0000000000001", "99999999999999999999.9999999999999", &DecimalStack::Subtract,
                         "-99999999999999999999.9999999999998");
  ExpectWellFormedResult(stack, "0.00000000000000000000000000000001", "10000000000000000000000000000000", &DecimalStack::Subtract,
                         "-9999999999999999999999999999999.99999999999999999999999999999999");
  // Results whose ends move inwards: cancelled low digits, a vanished high word, exact zero.
  ExpectWellFormedResult(stack, "0.5", "0.5", &DecimalStack::Add, "1");
  ExpectWellFormedResult(stack, "12345678.87654321", "0.87654321", &DecimalStack::Subtract, "12345678");
  ExpectWellFormedResult(stack, "123456789.5", "123456789", &DecimalStack::Subtract, "0.5");
  ExpectWellFormedResult(stack, "-7.25", "7.25", &DecimalStack::Add, "0");
  ExpectWellFormedResult(stack, "-7.25", "-7.25", &DecimalStack::Subtract, "0");
  ExpectWellFormedResult(stack, "-0", "0", &DecimalStack::Add, "0");
  // The largest and smallest magnitudes: a carry out of position 63 is lost, the lowest digit
  // borrows across all eight words.
  ExpectWellFormedResult(stack, "99999999999999999999999999999999.99999999999999999999999999999999", "0.00000000000000000000000000000001",
                         &DecimalStack::Add, "0");
  ExpectWellFormedResult(stack, "-99999999999999999999999999999999.99999999999999999999999999999999", "-0.00000000000000000000000000000002",
                         &DecimalStack::Add, "-0.00000000000000000000000000000001");
  ExpectWellFormedResult(stack, "99999999999999999999999999999999.99999999999999999999999999999999",
                         "99999999999999999999999999999999.99999999999999999999999999999999", &DecimalStack::Subtract, "0");
  ExpectWellFormedResult(stack, "0.00000000000000000000000000000001", "0.00000000000000000000000000000002", &DecimalStack::Subtract,
                         "-0.00000000000000000000000000000001");
  ExpectWellFormedResult(stack, "-50000000000000000000000000000000", "-50000000000000000000000000000000", &DecimalStack::Add, "0");
  ExpectWellFormedResult(stack, "50000000000000000000000000000000", "-49999999999999999999999999999999.99999999999999999999999999999999",
                         &DecimalStack::Add, "0.00000000000000000000000000000001");
}

TEST(DecimalProducts, LimbEdgesLoseTheirOutsideDigitsAndLeaveAWellFormedEntry) {
  DecimalStack stack;
  const char* const kLargest = "99999999999999999999999999999999.99999999999999999999999999999999";
  // Limb products that land wholly above position 63, wholly below position 0, or carry
  // across a limb edge.
  ExpectWellFormedResult(stack, kLargest, kLargest, &DecimalStack::Multiply, "99999999999999999999999999999998");
  ExpectWellFormedResult(stack, "-99999999999999999999999999999999.99999999999999999999999999999999", "0.00000000000000000000000000000001",
                         &DecimalStack::Multiply, "-0.99999999999999999999999999999999");
  ExpectWellFormedResult(stack, "99999999.99999999", "0.00000001", &DecimalStack::Multiply, "0.9999999999999999");
  ExpectWellFormedResult(stack, "-0.00000000000000000000000099999999", "100000000", &DecimalStack::Multiply, "-0.000000000000000099999999");
  ExpectWellFormedResult(stack, "12345678901234567890123456789012", "10", &DecimalStack::Multiply, "23456789012345678901234567890120");
  ExpectWellFormedResult(stack, "0.0000000000000001", "0.0000000000000001", &DecimalStack::Multiply, "0.00000000000000000000000000000001");
  ExpectWellFormedResult(stack, "-0.00000000000000009999999999999999", "0.0000000000000001", &DecimalStack::Multiply, "0");
}

TEST(DecimalQuotients, LimbEdgesRoundAtThe31stPlaceAndLeaveAWellFormedEntry) {
  DecimalStack stack;
  ExpectWellFormedResult(stack, "1", "3", &DecimalStack::Divide, "0.3333333333333333333333333333333");
  ExpectWellFormedResult(stack, "-2", "3", &DecimalStack::Divide, "-0.6666666666666666666666666666667");
  ExpectWellFormedResult(stack, "99999999999999999999999999999999.99999999999999999999999999999999", "0.00000000000000000000000000000001",
                         &DecimalStack::Divide, "99999999999999999999999999999999");
  ExpectWellFormedResult(stack, "0.00000000000000000000000000000001", "99999999999999999999999999999999.99999999999999999999999999999999",
                         &DecimalStack::Divide, "0");
  ExpectWellFormedResult(stack, "-0.00000000000000000000000000000001", "3", &DecimalStack::Divide, "0");
  ExpectWellFormedResult(stack, "12345678901234567890.123456789", "0.00000000000000000000000000000007", &DecimalStack::Divide,
                         "16049382700000000000000000000000");
  ExpectWellFormedResult(stack, "1", "99999999.99999999", &DecimalStack::Divide, "0.000000010000000000000001");
  ExpectWellFormedResult(stack, "100000000000000000000000", "0.0000000000000000000000099999999", &DecimalStack::Divide,
                         "1000000010000000100000001000000.01000000010000000100000001");
}

TEST_F(DecimalStackTest, CompareNegateAbsDuplicateAndNonZero) {
  DecPushText("-0.5");
  DecPushText("0.25");
  EXPECT_EQ(DecCompare(), -1);
  DecPushText("3");
  DecPushText("-3");
  EXPECT_EQ(DecCompare(), 1);
  DecPushText("-0");
  DecPushText("0");
  EXPECT_EQ(DecCompare(), 0);
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);

  DecPushText("4.5");
  DecNegate();
  DecDuplicate();
  EXPECT_EQ(PopText(), "-4.5");
  DecAbs();
  EXPECT_EQ(PopText(), "4.5");
  DecPushInt32(0);
  DecNegate();
  EXPECT_EQ(PopText(), "0");

  DecPushText("0.00000000000000000000000000000001");
  EXPECT_EQ(DecIsNonZero(), 1);
  DecPushText("-0.0");
  EXPECT_EQ(DecIsNonZero(), 0);
}

TEST_F(DecimalStackTest, RoundingIsHalfAwayFromZero) {
  const struct {
    const char* value;
    int places;
    const char* expected;
  } cases[] = {
      {"2.5", 0, "3"},       {"-2.5", 0, "-3"},   {"0.045", 2, "0.05"}, {"0.0449", 2, "0.04"},
      {"9.995", 2, "10"},    {"1.23", 40, "1.23"}, {"1.5", -3, "2"},     {"99999999999999999999999999999999.5", 0, "0"},
  };
  for (const auto& c : cases) {
    DecPushText(c.value);
    DecRound(c.places);
    EXPECT_EQ(PopText(), c.expected) << c.value << " to " << c.places;
  }
}

TEST_F(DecimalStackTest, PowerCoversZeroNegativeAndHugeExponents) {
  const struct {
    const char* base;
    int32_t n;
    const char* expected;
  } cases[] = {
      {"0", 0, "1"},   {"2", 10, "1024"},   {"2", -2, "0.25"}, {"-3", 3, "-27"}, {"0", -1, "0"},
      {"10", 32, "0"}, {"1.1", 2, "1.21"}, {"10", INT_MIN, "0"}, {"1", INT_MIN, "1"},
  };
  for (const auto& c : cases) {
    DecPushText(c.base);
    DecPower(c.n);
    EXPECT_EQ(PopText(), c.expected) << c.base << "^" << c.n;
  }
}

TEST_F(DecimalStackTest, IntegerAndFloatPops) {
  DecPushText("-7.9");
  EXPECT_EQ(DecPopInt32(), -7);
  DecPushText("-7.9");
  EXPECT_EQ(DecPopUInt32(), 7u);
  DecPushText("4294967301");  // 2^32 + 5: the low 32 bits remain
  EXPECT_EQ(DecPopInt32(), 5);
  DecPushText("2147483648");
  EXPECT_EQ(DecPopInt32(), INT_MIN);

  DecPushFloat64(0.1);
  EXPECT_EQ(PopText(), "0.1");
  DecPushFloat64(-2.675);
  EXPECT_EQ(PopText(), "-2.675");
  DecPushFloat64(1234567890123465.0);  // a tie at the 16th digit rounds up, not to even
  EXPECT_EQ(PopText(), "1234567890123470");
  DecPushFloat64(0.30000000000000004);
  EXPECT_EQ(PopText(), "0.3");
  DecPushFloat64(1.5e32);  // the leading digit falls above position 63
  EXPECT_EQ(PopText(), "50000000000000000000000000000000");
  DecPushFloat64(1e40);
  EXPECT_EQ(PopText(), "0");
  DecPushFloat64(1e-33);
  EXPECT_EQ(PopText(), "0");
  DecPushFloat64(-0.0);
  EXPECT_EQ(PopText(), "0");
  DecPushFloat64(__builtin_nan(""));
  EXPECT_EQ(PopText(), "0");

  DecPushText("0.1");
  EXPECT_EQ(DecPopFloat64(), 0.1);
  DecPushText("-12345678901234567890.5");  // digits after the 16th are ignored
  EXPECT_EQ(DecPopFloat64(), -12345678901234560000.0);
  DecPushText("0.00000000000000000000000000000001");
  EXPECT_DOUBLE_EQ(DecPopFloat64(), 1e-32);  // scaled in two steps of 10^16
}

TEST_F(DecimalStackTest, MoreThanTenOperandsNeitherCrashNorCorrupt) {
  for (int i = 1; i <= 12; ++i) {
    DecPushInt32(i);
  }
  EXPECT_EQ(CurrentDecimalStack().Count(), DecimalStack::kCapacity);
  EXPECT_EQ(DecPopInt32(), 10);  // the 11th and 12th pushes were ignored
  DecDuplicate();
  DecDuplicate();
  EXPECT_EQ(CurrentDecimalStack().Count(), DecimalStack::kCapacity);
  EXPECT_EQ(CurrentDecimalStack().Overflows(), 3u);

  CurrentDecimalStack().Clear();
  EXPECT_EQ(DecPopInt32(), 0);  // an empty stack pops 0
  DecPushInt32(5);
  DecSubtract();  // second is missing and reads as 0
  EXPECT_EQ(CurrentDecimalStack().Count(), 1);
  EXPECT_EQ(DecPopInt32(), -5);
  DecAdd();
  DecNegate();
  DecRound(2);
  DecPower(3);
  EXPECT_EQ(CurrentDecimalStack().Count(), 1);
  EXPECT_EQ(DecCompare(), 0);
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);
  // The pop of the empty stack, the missing second of the subtraction and of the addition,
  // the empty top under the addition and one operand of the comparison.
  EXPECT_EQ(CurrentDecimalStack().Underflows(), 5u);
}

TEST(DecimalStackOperands, EveryTwoOperandOperationReadsMissingOperandsAsZero) {
  struct Case {
    void (DecimalStack::*operation)();
    const char* withOnlyTop;  // the result when only the top, 6, is on the stack
    int ofEightAndTwo;        // the result for second 8 and top 2
  };
  const Case cases[] = {{&DecimalStack::Add, "6", 10},
                        {&DecimalStack::Subtract, "-6", 6},
                        {&DecimalStack::SubtractReversed, "6", -6},
                        {&DecimalStack::Multiply, "0", 16},
                        {&DecimalStack::Divide, "0", 4}};
  for (const Case& c : cases) {
    DecimalStack stack;
    stack.PushInt32(6);
    (stack.*c.operation)();
    ASSERT_EQ(stack.Count(), 1);
    char text[kMaxDecimalTextLength];
    EXPECT_EQ(std::string(text, stack.PopText(text, sizeof text)), c.withOnlyTop);
    (stack.*c.operation)();
    EXPECT_EQ(stack.Count(), 1);
    EXPECT_EQ(std::string(text, stack.PopText(text, sizeof text)), "0");
    EXPECT_EQ(stack.Underflows(), 3u);  // one missing second, then both operands

    // With entries below the operands, only the top two are combined.
    stack.PushInt32(100);
    stack.PushInt32(8);
    stack.PushInt32(2);
    (stack.*c.operation)();
    EXPECT_EQ(stack.Count(), 2);
    EXPECT_EQ(stack.PopInt32(), c.ofEightAndTwo);
    EXPECT_EQ(stack.PopInt32(), 100);
  }
}

TEST_F(DecimalStackTest, SaveAndRestoreMoveWholeStacksForAThreadSwitch) {
  EXPECT_EQ(SaveDecimalStack(), nullptr);  // an empty stack needs no snapshot

  DecPushText("1.25");
  DecPushText("-3");
  std::unique_ptr<DecimalStack> firstThread = SaveDecimalStack();
  ASSERT_NE(firstThread, nullptr);
  EXPECT_EQ(firstThread->Count(), 2);
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);  // the values moved into the snapshot

  DecPushInt32(99);
  std::unique_ptr<DecimalStack> secondThread = SaveDecimalStack();

  RestoreDecimalStack(std::move(firstThread));
  DecAdd();
  EXPECT_EQ(PopText(), "-1.75");
  RestoreDecimalStack(std::move(secondThread));
  EXPECT_EQ(DecPopInt32(), 99);
  DecPushInt32(1);
  RestoreDecimalStack(nullptr);
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);
}

TEST_F(DecimalStackTest, EachThreadHasItsOwnStackAndAnInstalledOneCanReplaceIt) {
  DecPushInt32(7);
  int otherThreadCount = -1;
  int32_t otherThreadResult = 0;
  std::thread other([&] {
    otherThreadCount = CurrentDecimalStack().Count();
    DecPushInt32(2);
    DecPushInt32(3);
    DecMultiply();
    otherThreadResult = DecPopInt32();
  });
  other.join();
  EXPECT_EQ(otherThreadCount, 0);
  EXPECT_EQ(otherThreadResult, 6);
  EXPECT_EQ(CurrentDecimalStack().Count(), 1);

  DecimalStack installed;
  installed.PushInt32(40);
  DecimalStack* previous = ExchangeCurrentDecimalStack(&installed);
  EXPECT_EQ(previous, &m_stack);
  DecPushInt32(2);
  DecAdd();
  EXPECT_EQ(installed.Peek().digits[33], 4);
  EXPECT_EQ(ExchangeCurrentDecimalStack(nullptr), &installed);  // back to the thread's own
  EXPECT_NE(&CurrentDecimalStack(), &m_stack);
  ExchangeCurrentDecimalStack(previous);
  EXPECT_EQ(DecPopInt32(), 7);
}

}  // namespace
}  // namespace vel::values

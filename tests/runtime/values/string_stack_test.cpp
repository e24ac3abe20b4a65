#include "runtime/values/string_stack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "string_stack_fixture.h"

namespace vel::values::testing {
namespace {

using PushPop = StringStackTest;

TEST_F(PushPop, ClippedFixedVariablePopsIntoAPaddedFixedString) {
  char variable[20];
  std::memcpy(variable, "abc                 ", 20);
  PushString(variable, 20);
  EXPECT_EQ(TopLength(), 20u);
  ClipTop();
  EXPECT_EQ(TopLength(), 3u);
  char target[10];
  PopToFixed(target, 10);
  EXPECT_EQ(std::string(target, 10), "abc       ");
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(PushPop, ZeroTerminatedAndLengthPrefixedTargets) {
  char target[4] = {'x', 'x', 'x', 'x'};
  PushString("abcdef", 6);
  PopToCString(target, 4);
  EXPECT_EQ(std::string(target, 4), std::string("abc\0", 4));

  char untouched = 'x';
  PushString("abcdef", 6);
  PopToCString(&untouched, 0);
  EXPECT_EQ(untouched, 'x');
  EXPECT_EQ(Stack().Count(), 0u);  // a size of 0 still pops

  char pascal[4];
  PushString("abcdef", 6);
  PopToPascal(pascal, 4);
  EXPECT_EQ(std::string(pascal, 4), "\x03" "abc");
}

TEST_F(PushPop, PopIntoTheVariableTheValueReferences) {
  // A clipped or shifted view of a variable assigned back to it must not be corrupted.
  char variable[6];
  std::memcpy(variable, "  abcd", 6);
  PushString(variable + 2, 4);
  PopToFixed(variable, 6);
  EXPECT_EQ(std::string(variable, 6), "abcd  ");
}

TEST_F(PushPop, ClipRemovesOnlyTrailingBlanks) {
  PushString("    ", 4);
  ClipTop();
  EXPECT_EQ(TopLength(), 0u);
  PushString("ab\t", 3);
  ClipTop();
  EXPECT_EQ(TopLength(), 3u);
  PushString("ab\0", 3);
  ClipTop();
  EXPECT_EQ(TopLength(), 3u);
  PushString(" a ", 3);
  ClipTop();
  EXPECT_EQ(TopText(), " a");
  // Long runs of blanks go eight at a time; a non-blank anywhere in the last word stops them.
  for (std::uint32_t kept = 0; kept <= 20; ++kept) {
    for (const char mark : {'x', '\t', '\0'}) {
      std::string value(kept, 'a');
      if (kept > 0) value[kept - 1] = mark;
      value += std::string(37 - kept, ' ');
      PushString(value.data(), static_cast<std::uint32_t>(value.size()));
      ClipTop();
      ASSERT_EQ(TopLength(), kept) << kept << " " << static_cast<int>(mark);
      DropTop();
    }
  }
}

TEST_F(PushPop, NullDataAndCStringPushes) {
  PushString(nullptr, 10);
  EXPECT_EQ(TopLength(), 0u);
  EXPECT_EQ(TopView().data, nullptr);

  PushCString(nullptr);
  EXPECT_EQ(TopLength(), 0u);

  // The pushed text survives the reuse of its buffer, short or long.
  char buffer[40];
  std::strcpy(buffer, "short");
  PushCString(buffer);
  EXPECT_EQ(TopKind(), kInlineString);
  std::strcpy(buffer, "a text longer than twenty bytes");
  PushCString(buffer);
  EXPECT_EQ(TopKind(), kOwnedString);
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(PopText(), "a text longer than twenty bytes");
  EXPECT_EQ(PopText(), "short");
}

TEST_F(PushPop, NumbersAndFlagsAsText) {
  PushLong(-2147483647 - 1);
  EXPECT_EQ(TopText(), "-2147483648");
  EXPECT_EQ(TopKind(), kInlineString);
  PushLong(0);
  EXPECT_EQ(TopText(), "0");
  PushReal(12.0);
  EXPECT_EQ(TopText(), "12");
  PushFlag(5);
  EXPECT_EQ(TopText(), "1");
  PushFlag(-1);
  EXPECT_EQ(TopText(), "1");
  PushFlag(0);
  EXPECT_EQ(TopLength(), 0u);
}

TEST_F(PushPop, RealTextsSwitchToExponentsAndKeepFourteenDigits) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {2.5, "2.5"},
      {-0.75, "-0.75"},
      {1.0 / 3.0, "0.33333333333333"},
      {0.0001, "0.0001"},
      {0.00001, "1E-05"},
      {12345678901234.0, "12345678901234"},
      {1e14, "1E+14"},
      {123456789012345678.0, "1.2345678901235E+17"},
      {1e100, "1E+100"},
  };
  for (const auto& c : cases) {
    PushReal(c.value);
    EXPECT_EQ(PopText(), c.text) << c.value;
  }
  // The longest texts do not fit the inline buffer and are held in a block of their own.
  PushReal(-1.2345678901234e-308);
  EXPECT_EQ(TopKind(), kOwnedString);
  EXPECT_EQ(PopText(), "-1.2345678901234E-308");
}

TEST_F(PushPop, TextToRealFollowsTheCConversionRules) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"  12.5abc", 12.5}, {"\t-7", -7.0},     {"abc", 0.0},       {"", 0.0},
      {"1e3   ", 1000.0},  {"+.5", 0.5},       {"+-1", 0.0},       {"0x10", 16.0},
      {"1e-999", 0.0},     {"12e", 12.0},      {"-", 0.0},         {"3.", 3.0},
  };
  for (const auto& c : cases) {
    PushString(c.text, static_cast<std::uint32_t>(std::strlen(c.text)));
    EXPECT_DOUBLE_EQ(PopToReal(), c.value) << c.text;
  }
  PushString("-x", 2);  // nothing converts: a plain 0 without the sign
  double nothing = PopToReal();
  EXPECT_EQ(nothing, 0.0);
  EXPECT_FALSE(std::signbit(nothing));
  PushString("1e999", 5);
  EXPECT_EQ(PopToReal(), HUGE_VAL);
  PushString("-1e999", 6);
  EXPECT_EQ(PopToReal(), -HUGE_VAL);
  // Only the first 39 characters are read: 1 followed by 38 of the 45 zeros.
  std::string longText = "1" + std::string(45, '0');
  PushString(longText.data(), static_cast<std::uint32_t>(longText.size()));
  EXPECT_DOUBLE_EQ(PopToReal(), 1e38);
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(PushPop, TestNonBlankIsTheTruthOfAString) {
  PushString("   ", 3);
  EXPECT_EQ(TestNonBlank(), 0);
  PushString(" x ", 3);
  EXPECT_EQ(TestNonBlank(), 1);
  PushString("\0", 1);
  EXPECT_EQ(TestNonBlank(), 1);
  EXPECT_EQ(Stack().Count(), 0u);
}

using OwnedBlocks = StringStackTest;

TEST_F(OwnedBlocks, PopToOwnedHandsOverOrCopies) {
  char* block = AllocateStringBlock(3);
  std::memcpy(block, "xyz", 3);
  PushOwnedString(block, 3);
  OwnedString owned;
  PopToOwned(owned);
  EXPECT_EQ(owned.data, block);  // handed over unchanged
  EXPECT_EQ(owned.length, 3u);
  FreeOwnedString(owned);
  EXPECT_EQ(owned.data, nullptr);
  EXPECT_EQ(owned.length, 0u);

  char variable[4] = {'a', 'b', 'c', 'd'};
  PushString(variable, 4);
  PopToOwned(owned);
  ASSERT_NE(owned.data, nullptr);
  EXPECT_NE(owned.data, variable);
  EXPECT_EQ(std::string(owned.data, owned.length), "abcd");

  // The procedure-parameter pattern: push the owned pair by reference wherever it is used.
  PushString(owned.data, owned.length);
  PushString("!", 1);
  ConcatAppend();
  EXPECT_EQ(PopText(), "abcd!");
  FreeOwnedString(owned);

  PushEmpty();
  PopToOwned(owned);
  EXPECT_EQ(owned.data, nullptr);
  EXPECT_EQ(owned.length, 0u);
}

TEST_F(OwnedBlocks, DroppedAndClearedValuesFreeTheirBlocks) {
  // Leaks here are reported by the sanitizer build.
  for (int i = 0; i < 3; ++i) {
    char* block = AllocateStringBlock(5);
    std::memcpy(block, "hello", 5);
    PushOwnedString(block, 5);
  }
  DropTop();
  EXPECT_EQ(PopLength(), 5u);
  Stack().Clear();
  EXPECT_EQ(Stack().Count(), 0u);
  char* block = AllocateStringBlock(4);
  PushOwnedString(block, 4);  // freed by the stack's destructor
}

using Limits = StringStackTest;

TEST_F(Limits, AThirtyThirdPushIsIgnored) {
  for (int i = 0; i < 32; ++i) PushLong(i);
  std::uint64_t totalBefore = StringStackOverflowTotal();
  PushString("extra", 5);
  PushBytes("copied", 6);
  char* block = AllocateStringBlock(8);
  PushOwnedString(block, 8);  // must be freed, not leaked
  EXPECT_EQ(Stack().Count(), 32u);
  EXPECT_EQ(TopText(), "31");
  EXPECT_EQ(Stack().Overflows(), 3u);
  EXPECT_EQ(StringStackOverflowTotal() - totalBefore, 3u);
  for (int i = 31; i >= 0; --i) EXPECT_EQ(PopText(), std::to_string(i));
}

TEST_F(Limits, EmptyStackReadsAsTheEmptyValueAndCountsUnderflows) {
  std::uint64_t totalBefore = StringStackUnderflowTotal();
  char fixed[4] = {'x', 'x', 'x', 'x'};
  PopToFixed(fixed, 4);
  EXPECT_EQ(std::string(fixed, 4), "    ");
  char cString[3] = {'x', 'x', 'x'};
  PopToCString(cString, 3);
  EXPECT_EQ(cString[0], '\0');
  EXPECT_EQ(PopLength(), 0u);
  EXPECT_EQ(TopLength(), 0u);
  EXPECT_EQ(TopView().data, nullptr);
  EXPECT_EQ(PopToReal(), 0.0);
  EXPECT_EQ(TestNonBlank(), 0);
  DropTop();
  ClipTop();
  UpperTop();
  FitTop(5);
  EXPECT_EQ(Stack().Count(), 0u);
  EXPECT_EQ(Stack().Underflows(), 11u);
  EXPECT_EQ(StringStackUnderflowTotal() - totalBefore, 11u);

  // A missing operand reads as empty; the result is still pushed, keeping later pops balanced.
  PushString("abc", 3);
  ConcatPrepend();
  EXPECT_EQ(TopText(), "abc");
  EXPECT_LT(CompareFull(), 0);  // the missing second operand sorts as blanks
  EXPECT_EQ(Stack().Count(), 0u);
  PushCString("a lone operand long enough for a block");
  ConcatAppend();
  EXPECT_EQ(PopText(), "a lone operand long enough for a block");
}

TEST_F(Limits, RollUpBeyondTheBottomChangesNothing) {
  PushString("A", 1);
  PushString("B", 1);
  RollUp(2);
  RollUp(255);
  EXPECT_EQ(Stack().Underflows(), 2u);
  EXPECT_EQ(PopText(), "B");
  EXPECT_EQ(PopText(), "A");
}

}  // namespace
}  // namespace vel::values::testing

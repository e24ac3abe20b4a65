#include "runtime/values/decimal_string_stack.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "runtime/values/decimal_stack.h"
#include "runtime/values/string_stack.h"

namespace vel::values {
namespace {

class DecimalStringStackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentDecimalStack().Clear();
    CurrentStringStack().Clear();
  }
  void TearDown() override {
    CurrentDecimalStack().Clear();
    CurrentStringStack().Clear();
  }
  static std::string PopString() {
    const StringView top = TopView();
    std::string text(top.data == nullptr ? "" : std::string(top.data, top.length));
    DropTop();
    return text;
  }
  static int32_t TextToLong(const std::string& text) {
    PushString(text.data(), static_cast<std::uint32_t>(text.size()));
    return PopToLong();
  }
};

TEST_F(DecimalStringStackTest, PushDecimalMovesTheTextAcrossDetached) {
  DecPushText("-0.25");
  DecPushText("123456789012345678901234567890.5");
  DecPushInt32(1);
  DecAdd();
  PushDecimal();
  EXPECT_EQ(CurrentDecimalStack().Count(), 1);
  EXPECT_EQ(PopString(), "123456789012345678901234567891.5");
  PushDecimal();
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);
  EXPECT_EQ(PopString(), "-0.25");
  PushDecimal();  // an empty decimal stack gives 0
  EXPECT_EQ(PopString(), "0");
  EXPECT_EQ(CurrentStringStack().Count(), 0u);
}

TEST_F(DecimalStringStackTest, PopToLongReadsTextAsADecimal) {
  EXPECT_EQ(TextToLong("  -12.99"), -12);
  EXPECT_EQ(TextToLong("1.5e2"), 150);
  EXPECT_EQ(TextToLong("1e2"), 1);  // no exponent without a fraction part
  EXPECT_EQ(TextToLong("+5"), 0);
  EXPECT_EQ(TextToLong("2147483648"), INT_MIN);
  EXPECT_EQ(TextToLong(std::string("42\0" "7", 4)), 42);
  // Only 99 characters are read: the digit after 98 blanks is the 99th and counts, the one
  // after 99 blanks does not.
  EXPECT_EQ(TextToLong(std::string(98, ' ') + "7"), 7);
  EXPECT_EQ(TextToLong(std::string(99, ' ') + "7"), 0);
  EXPECT_EQ(PopToLong(), 0);  // an empty string stack reads the empty value
  EXPECT_EQ(CurrentStringStack().Count(), 0u);
}

TEST_F(DecimalStringStackTest, PopToLongLeavesAFullDecimalStackAlone) {
  for (int i = 0; i < DecimalStack::kCapacity; ++i) {
    DecPushInt32(i);
  }
  EXPECT_EQ(TextToLong("55"), 55);
  EXPECT_EQ(CurrentDecimalStack().Count(), DecimalStack::kCapacity);
  EXPECT_EQ(DecPopInt32(), 9);
}

TEST_F(DecimalStringStackTest, PopToIntegerReadsTextAsAFloatWithTheNearIntegerCorrection) {
  const struct {
    const char* text;
    int64_t expected;
  } cases[] = {{"2.9999999999999996", 3}, {"2.9999", 2}, {"-7.9   ", -7}, {"1e3", 1000}, {"x", 0}};
  for (const auto& c : cases) {
    PushString(c.text, static_cast<std::uint32_t>(std::char_traits<char>::length(c.text)));
    EXPECT_EQ(PopToInteger(), c.expected) << c.text;
  }
  EXPECT_EQ(PopToInteger(), 0);
  EXPECT_EQ(CurrentStringStack().Count(), 0u);
}

}  // namespace
}  // namespace vel::values

#include "runtime/values/number_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/values/decimal_stack.h"

namespace vel::values {
namespace {

int64_t TextInteger(const std::string& text) { return TextToInteger(text.data(), text.size()); }
double TextFloat(const std::string& text) { return ReadFloat64Text(text.data(), text.size()); }

TEST(NumberConversions, TextToIntegerTruncatesButSnapsNearIntegers) {
  EXPECT_EQ(TextInteger("2.9999999999999996"), 3);
  EXPECT_EQ(TextInteger("-2.9999999999999996"), -3);
  EXPECT_EQ(TextInteger("2.9999"), 2);
  EXPECT_EQ(TextInteger("-7.9"), -7);
  EXPECT_EQ(TextInteger("0.9999999999999999"), 1);
  EXPECT_EQ(TextInteger("0.99999999999"), 0);
  EXPECT_EQ(TextInteger("1e3"), 1000);  // the C rules read exponents without a fraction
  EXPECT_EQ(TextInteger("  42  "), 42);
  EXPECT_EQ(TextInteger("abc"), 0);
  EXPECT_EQ(TextInteger(""), 0);
  EXPECT_EQ(TextInteger("1e300"), std::numeric_limits<int64_t>::max());
}

TEST(NumberConversions, TextToFloatFollowsTheCRulesWithinThirtyNineCharacters) {
  EXPECT_EQ(TextFloat(" \t+1.5e2xyz"), 150.0);
  EXPECT_EQ(TextFloat("-0x1.8p1"), -3.0);
  EXPECT_EQ(TextFloat("+-5"), 0.0);
  EXPECT_EQ(TextFloat("."), 0.0);
  EXPECT_TRUE(std::isinf(TextFloat("1e999")));
  EXPECT_EQ(TextFloat("-1e-999"), 0.0);
  EXPECT_EQ(TextFloat("0.00001e-99999"), 0.0);
  EXPECT_TRUE(std::isinf(TextFloat("inf")));
  EXPECT_EQ(TextFloat(std::string("12\0" "34", 5)), 12.0);
  // Only 39 characters are read: the 40th digit is cut off.
  EXPECT_EQ(TextFloat(std::string(38, '0') + "12"), 1.0);
  EXPECT_EQ(TextFloat(std::string(38, '0') + "1" + std::string(50, ' ')), 1.0);
  EXPECT_EQ(ReadFloat64Text(nullptr, 5), 0.0);
}

TEST(NumberConversions, FloatTruncationIsDefinedEverywhere) {
  EXPECT_EQ(TruncateFloat64(2.9999), 2);
  EXPECT_EQ(TruncateFloat64(-2.9999), -2);
  EXPECT_EQ(TruncateFloat64(std::nan("")), 0);
  EXPECT_EQ(TruncateFloat64(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(TruncateFloat64(-INFINITY), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(TruncateFloat64(-0x1p63), std::numeric_limits<int64_t>::min());
}

TEST(NumberConversions, NarrowStoresKeepTheLowBits) {
  uint8_t bytes[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  ASSERT_TRUE(StoreIntegerBits(bytes, StorageKind::UInt8, 0x1234));
  EXPECT_EQ(bytes[0], 0x34);
  EXPECT_EQ(bytes[1], 0xAA);
  ASSERT_TRUE(StoreIntegerBits(bytes, StorageKind::Int16, -2));
  EXPECT_EQ(LoadInteger(bytes, StorageKind::Int16), -2);
  EXPECT_EQ(LoadInteger(bytes, StorageKind::UInt16), 0xFFFE);
  EXPECT_EQ(bytes[2], 0xAA);
  ASSERT_TRUE(StoreIntegerBits(bytes, StorageKind::UInt16, 70000));
  EXPECT_EQ(LoadInteger(bytes, StorageKind::UInt16), 70000 - 65536);
  ASSERT_TRUE(StoreIntegerBits(bytes, StorageKind::Int32, TruncateFloat64(-3e9)));
  EXPECT_EQ(LoadInteger(bytes, StorageKind::Int32), static_cast<int32_t>(static_cast<uint32_t>(-3000000000LL)));
  ASSERT_TRUE(StoreIntegerBits(bytes, StorageKind::UInt32, 4000000000LL));
  EXPECT_EQ(LoadInteger(bytes, StorageKind::UInt32), 4000000000LL);

  EXPECT_FALSE(StoreIntegerBits(bytes, StorageKind::Float64, 1));
  EXPECT_FALSE(StoreIntegerBits(nullptr, StorageKind::Int32, 1));
  EXPECT_EQ(LoadInteger(bytes, StorageKind::Decimal), 0);
}

TEST(NumberConversions, DecimalVariablesAreFilledThroughTheStack) {
  CurrentDecimalStack().Clear();
  uint8_t price[3];
  DecPushFloat64(19.995);  // 15 significant digits first, then half up to the places
  DecStoreDecimal(price, 3, 2);
  EXPECT_EQ(price[0], 0x00);
  EXPECT_EQ(price[1], 0x20);
  EXPECT_EQ(price[2], 0x00);

  DecPushInt32(-7);
  DecStorePacked(price, 3, 1);
  DecLoadPacked(price, 3, 1);
  EXPECT_EQ(DecPopInt32(), -7);

  DecPushText("12.345");
  DecStoreDecimal(price, 3, 2);
  DecLoadDecimal(price, 3, 2);
  DecPushInt32(2);
  DecMultiply();
  EXPECT_EQ(DecPopFloat64(), 24.7);
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);
}

}  // namespace
}  // namespace vel::values

#include "runtime/values/decimal_storage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/values/decimal_text.h"

namespace vel::values {
namespace {

using Bytes = std::vector<uint8_t>;

DecimalEntry Number(const char* text) { return DecimalFromText(text, std::char_traits<char>::length(text)); }

std::string Text(const DecimalEntry& entry) {
  char text[kMaxDecimalTextLength];
  return std::string(text, DecimalToText(entry, text));
}

Bytes StoreDecimal(const char* value, uint32_t size, uint32_t places) {
  Bytes bytes(size, 0xAA);
  WriteDecimalStorage(bytes.data(), size, places, Number(value));
  return bytes;
}

Bytes StorePacked(const char* value, uint32_t size, uint32_t places) {
  Bytes bytes(size, 0xAA);
  WritePackedStorage(bytes.data(), size, places, Number(value));
  return bytes;
}

std::string Hex(const Bytes& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

TEST(DecimalStorage, SignFirstLayoutIsWrittenNibbleForNibble) {
  EXPECT_EQ(StoreDecimal("-12", 2, 0), (Bytes{0xF0, 0x12}));
  EXPECT_EQ(StoreDecimal("12", 2, 0), (Bytes{0x00, 0x12}));
  EXPECT_EQ(StoreDecimal("-1234.56", 4, 2), (Bytes{0xF0, 0x12, 0x34, 0x56}));
  EXPECT_EQ(StoreDecimal("0.5", 1, 1), (Bytes{0x05}));
  // Stores round half away from zero to the variable's places.
  EXPECT_EQ(StoreDecimal("2.5", 2, 0), (Bytes{0x00, 0x03}));
  EXPECT_EQ(StoreDecimal("-2.5", 2, 0), (Bytes{0xF0, 0x03}));
  EXPECT_EQ(StoreDecimal("0.045", 2, 2), (Bytes{0x00, 0x05}));
  // Integer digits beyond the capacity are dropped; an all-zero result is never negative.
  EXPECT_EQ(StoreDecimal("12345", 2, 0), (Bytes{0x03, 0x45}));
  EXPECT_EQ(StoreDecimal("-1000", 2, 0), (Bytes{0x00, 0x00}));
  EXPECT_EQ(StoreDecimal("-0.004", 2, 2), (Bytes{0x00, 0x00}));
}

TEST(DecimalStorage, SignLastLayoutIsWrittenNibbleForNibble) {
  EXPECT_EQ(StorePacked("-12", 2, 0), (Bytes{0x01, 0x2D}));
  EXPECT_EQ(StorePacked("12", 2, 0), (Bytes{0x01, 0x2F}));
  EXPECT_EQ(StorePacked("-9.876", 3, 3), (Bytes{0x09, 0x87, 0x6D}));
  EXPECT_EQ(StorePacked("0.0005", 2, 3), (Bytes{0x00, 0x1F}));
  EXPECT_EQ(StorePacked("-0.0004", 2, 3), (Bytes{0x00, 0x0F}));
}

TEST(DecimalStorage, ReadingAcceptsAnyNegativeMarkAndIgnoresCorruptNibbles) {
  const uint8_t decimalNegative[] = {0x10, 0x12};  // any nonzero sign nibble is negative
  EXPECT_EQ(Text(ReadDecimalStorage(decimalNegative, 2, 0)), "-12");
  const uint8_t decimalFraction[] = {0x01, 0x23, 0x45};
  EXPECT_EQ(Text(ReadDecimalStorage(decimalFraction, 3, 4)), "1.2345");
  const uint8_t packedPositive[] = {0x01, 0x2C};  // only 13 marks a negative
  EXPECT_EQ(Text(ReadPackedStorage(packedPositive, 2, 1)), "1.2");
  const uint8_t packedNegative[] = {0x01, 0x2D};
  EXPECT_EQ(Text(ReadPackedStorage(packedNegative, 2, 0)), "-12");
  const uint8_t corrupt[] = {0x0A, 0xF1};
  EXPECT_EQ(Text(ReadDecimalStorage(corrupt, 2, 0)), "1");
  const uint8_t negativeZero[] = {0xF0, 0x00};
  const DecimalEntry zero = ReadDecimalStorage(negativeZero, 2, 0);
  EXPECT_EQ(zero.sign, 0);
  EXPECT_EQ(Text(zero), "0");
  EXPECT_EQ(Text(ReadDecimalStorage(nullptr, 4, 0)), "0");
  EXPECT_EQ(Text(ReadPackedStorage(corrupt, 0, 0)), "0");
}

TEST(DecimalStorage, WideVariablesKeepOnlyWhatTheWorkValueHolds) {
  // 20 bytes hold 39 digits: 35 integer and 4 fraction places.
  Bytes wide(20, 0xAA);
  WriteDecimalStorage(wide.data(), 20, 4, Number("-98765432109876543210987654321098.76543"));
  // Sign, three unused integer digits, the 32 integer digits, 4 places (...098.7654: the
  // dropped 3 rounds down).
  EXPECT_EQ(Hex(wide), "f000" "98765432109876543210987654321098" "7654");
  EXPECT_EQ(Text(ReadDecimalStorage(wide.data(), 20, 4)), "-98765432109876543210987654321098.7654");

  // More places than the work value has: the extra fraction digits are written as 0.
  Bytes places(18, 0xAA);
  WritePackedStorage(places.data(), 18, 34, Number("0.00000000000000000000000000000001"));
  EXPECT_EQ(places[16], 0x10);  // the 32nd place is nibble 32 of 35
  EXPECT_EQ(places[17], 0x0F);
  EXPECT_EQ(Text(ReadPackedStorage(places.data(), 18, 34)), "0.00000000000000000000000000000001");

  WriteDecimalStorage(nullptr, 4, 0, Number("1"));  // must not write anywhere
  Bytes untouched(2, 0xAA);
  WriteDecimalStorage(untouched.data(), 0, 0, Number("1"));
  EXPECT_EQ(untouched, (Bytes{0xAA, 0xAA}));
}

}  // namespace
}  // namespace vel::values

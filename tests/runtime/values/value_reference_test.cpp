#include "runtime/values/value_reference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "reference_test_fixture.h"
#include "runtime/values/decimal_stack.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/reference_real.h"
#include "runtime/values/string_stack.h"

namespace vel::values {
namespace {

using testing::PopText;
using testing::ReferenceTest;

/// Storage bytes as hex pairs, for readable expectations.
std::string Hex(const void* data, std::size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 15]);
  }
  return text;
}

class ValueReferenceTest : public ReferenceTest {
 protected:
  void SetUp() override {
    ReferenceTest::SetUp();
    CurrentDecimalStack().Clear();
  }

  /// Clears a variable of `typeCode` (size bytes, filled with 0x5A first) with n and returns
  /// its bytes in hex.
  std::string Cleared(int typeCode, std::uint32_t size, int n) {
    unsigned char storage[16];
    std::memset(storage, 0x5A, sizeof storage);
    ClearVariable(storage, typeCode, size, n);
    return Hex(storage, size);
  }
};

TEST_F(ValueReferenceTest, ClearOfEveryKindWithLowestEmptyAndHighest) {
  struct Case {
    int code;
    std::uint32_t size;
    const char* low;    // n = -1
    const char* empty;  // n = 0
    const char* high;   // n = 1
  } cases[] = {
      {1, 1, "00", "00", "FF"},
      {2, 2, "0080", "0000", "FF7F"},
      {3, 2, "0000", "0000", "FFFF"},
      {4, 4, "00000000", "00000000", "FFFFFFFF"},
      {5, 4, "00000000", "00000000", "FFFFFFFF"},
      {6, 4, "00000080", "00000000", "FFFFFF7F"},
      {7, 4, "00000000", "00000000", "FFFFFFFF"},
      {8, 4, "FFFF7FFF", "00000000", "FFFF7F7F"},
      {9, 8, "E3FFFFFFFFFFEFFF", "0000000000000000", "E3FFFFFFFFFFEF7F"},
      {10, 3, "F99999", "000000", "099999"},
      {11, 3, "99999D", "00000F", "99999F"},
      {13, 4, "FFFFFFFF", "00000000", "FFFF7FFF"},
      {14, 8, "FFFFFFFFFFFFFFFF", "0000000000000000", "FFFFFFFFFFFF7FFF"},
      {15, 4, "00000000", "00000000", "00000000"},
      {31, 3, "000000", "000000", "000000"},
      {18, 3, "000000", "202020", "FFFFFF"},
      {22, 3, "000000", "202020", "FFFFFF"},
      {19, 3, "00", "00", "FFFF00"},
      {20, 3, "0200", "00", "02FFFF"},
  };
  for (const Case& c : cases) {
    std::string low = Cleared(c.code, c.size, -1);
    std::string empty = Cleared(c.code, c.size, 0);
    std::string high = Cleared(c.code, c.size, 1);
    // A zero-terminated or length-prefixed string only defines the bytes its value uses.
    if (c.code == 19 || c.code == 20) {
      low.resize(std::strlen(c.low));
      empty.resize(std::strlen(c.empty));
      high.resize(std::strlen(c.high));
    }
    EXPECT_EQ(low, c.low) << "type " << c.code;
    EXPECT_EQ(empty, c.empty) << "type " << c.code;
    EXPECT_EQ(high, c.high) << "type " << c.code;
  }
  // The highest Float64 is the documented value just below the largest double.
  double value = 0;
  ClearVariable(&value, 9, 8, 1);
  EXPECT_EQ(value, kClearFloat64High);
  std::int32_t int32 = 0;
  ClearVariable(&int32, 6, 4, -1);
  EXPECT_EQ(int32, INT32_MIN);
}

TEST_F(ValueReferenceTest, AssignFromStackFollowsEachKindsTextRule) {
  std::int16_t int16 = 0;
  PushCString("12.7");
  CreateReference(2, &int16, 0, 0, false)->AssignFromStack();
  EXPECT_EQ(int16, 12);

  unsigned char decimal[3] = {};
  auto decimalReference = CreateReference(10, decimal, 3, 0, false);
  PushCString("12.7");
  decimalReference->AssignFromStack();
  EXPECT_EQ(decimalReference->GetInt(), 13);

  std::int32_t int32 = 0;
  PushCString("2.9999999999999996");
  CreateReference(6, &int32, 0, 0, false)->AssignFromStack();
  EXPECT_EQ(int32, 3);

  char fixed[5];
  PushCString("toolong");
  CreateReference(18, fixed, 5, 0, false)->AssignFromStack();
  EXPECT_EQ(std::string(fixed, 5), "toolo");

  char cstring[4] = {'x', 'x', 'x', 'x'};
  PushCString("abcdef");
  CreateReference(19, cstring, 4, 0, false)->AssignFromStack();
  EXPECT_STREQ(cstring, "abc");

  unsigned char pascal[4] = {};
  PushCString("hi");
  auto pascalReference = CreateReference(20, pascal, 4, 0, false);
  pascalReference->AssignFromStack();
  EXPECT_EQ(pascal[0], 2);
  pascalReference->PushText();
  EXPECT_EQ(PopText(), "hi");
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(ValueReferenceTest, NumbersMoveBetweenKindsThroughTheCommonType) {
  std::int32_t ten = 10;
  char nine[3] = {'9', ' ', ' '};
  auto integer = CreateReference(6, &ten, 0, 0, false);
  auto text = CreateReference(18, nine, 3, 0, false);
  // Integer against text meets as decimals: 10 > 9, where text order would say "10" < "9".
  EXPECT_EQ(integer->CompareWith(*text), 1);
  EXPECT_EQ(text->CompareWith(*integer), -1);
  EXPECT_EQ(integer->IsGreaterThan(*text), 1);
  EXPECT_EQ(integer->IsLessThan(*text), 0);

  double real = 2.75;
  auto realReference = CreateReference(9, &real, 0, 0, false);
  integer->SetFrom(*realReference);
  EXPECT_EQ(ten, 2);

  unsigned char packed[4] = {};
  auto packedReference = CreateReference(11, packed, 4, 2, false);
  packedReference->SetFrom(*realReference);
  packedReference->PushText();
  EXPECT_EQ(PopText(), "2.75");
  text->SetFrom(*packedReference);
  EXPECT_EQ(std::string(nine, 3), "2.7");
  EXPECT_EQ(integer->CompareInt(2), 0);
  EXPECT_EQ(integer->CompareInt(3), -1);
  EXPECT_EQ(integer->CompareInt(-3), 1);
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(ValueReferenceTest, CommonTypeOfEveryPairOfFamilies) {
  const int kInteger = 6, kReal = 9, kDecimal = 10, kText = 18, kPictured = 29;
  struct Case {
    int a, b, expected;
  } cases[] = {
      {kInteger, kInteger, 6},  {kInteger, kReal, 9},      {kInteger, kDecimal, 10},
      {kInteger, kText, 10},    {kInteger, kPictured, 10}, {kReal, kReal, 9},
      {kReal, kDecimal, 9},     {kReal, kText, 9},         {kReal, kPictured, 9},
      {kDecimal, kDecimal, 10}, {kDecimal, kText, 10},     {kDecimal, kPictured, 10},
      {kText, kText, 18},       {kText, kPictured, 18},    {kPictured, kPictured, 10},
      {19, kText, 18},          {20, kText, 18},           {27, kText, 18},
      {19, 20, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommonArithmeticType(c.a, c.b), c.expected) << c.a << " with " << c.b;
    EXPECT_EQ(CommonArithmeticType(c.b, c.a), c.expected) << c.b << " with " << c.a;
  }
}

TEST_F(ValueReferenceTest, TextComparisonUsesStringOrderWithTrailingBlanksIgnored) {
  char a[4] = {'a', 'b', ' ', ' '};
  char b[2] = {'a', 'b'};
  char c[3] = {'a', 'c', ' '};
  auto first = CreateReference(18, a, 4, 0, false);
  auto second = CreateReference(18, b, 2, 0, false);
  auto third = CreateReference(18, c, 3, 0, false);
  EXPECT_EQ(first->CompareWith(*second), 0);
  EXPECT_EQ(first->CompareWith(*third), -1);
  EXPECT_EQ(third->CompareWith(*second), 1);
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(ValueReferenceTest, IntegerKindsKeepLowBytesAndDatesArePacked) {
  unsigned char byte = 0;
  auto uint8 = CreateReference(1, &byte, 0, 0, false);
  uint8->SetInt(258);
  EXPECT_EQ(byte, 2);
  uint8->SetReal(-1.9);
  EXPECT_EQ(byte, 255);

  std::uint16_t word16 = 0;
  auto uint16 = CreateReference(3, &word16, 0, 0, false);
  uint16->SetInt(-2);
  EXPECT_EQ(word16, 65534);
  EXPECT_EQ(uint16->GetInt(), 65534);

  unsigned char date[4] = {};
  auto dateReference = CreateReference(4, date, 0, 0, false);
  dateReference->SetInt(4);  // 1 January 1801
  EXPECT_EQ(Hex(date, 4), "01010907");
  EXPECT_EQ(dateReference->GetInt(), 4);

  unsigned char time[4] = {};
  auto timeReference = CreateReference(5, time, 0, 0, false);
  timeReference->SetInt(1 + 100 * (3600 + 2 * 60 + 3) + 4);
  EXPECT_EQ(Hex(time, 4), "04030201");
  EXPECT_EQ(timeReference->GetInt(), 1 + 100 * (3600 + 2 * 60 + 3) + 4);

  std::uint32_t word = 0;
  auto uint32 = CreateReference(7, &word, 0, 0, false);
  uint32->SetInt(-1);
  EXPECT_EQ(word, 0xFFFFFFFFu);
  uint32->PushText();
  EXPECT_EQ(PopText(), "4294967295");
  EXPECT_EQ(uint32->ArithmeticType(), 10);
}

TEST_F(ValueReferenceTest, RealKindsRoundTripAndNarrowSafely) {
  float narrow = 0;
  auto float32 = CreateReference(8, &narrow, 0, 0, false);
  float32->SetReal(1e300);
  EXPECT_TRUE(std::isinf(narrow));
  float32->SetReal(0.5);
  EXPECT_EQ(float32->GetReal(), 0.5);

  unsigned char mbf[8] = {};
  auto mbf64 = CreateReference(14, mbf, 0, 0, false);
  mbf64->SetReal(-3.25);
  EXPECT_EQ(mbf64->GetReal(), -3.25);
  mbf64->PushText();
  EXPECT_EQ(PopText(), "-3.25");
  EXPECT_EQ(mbf64->GetInt(), -3);
  EXPECT_EQ(mbf64->IsZero(), 0);
  mbf64->Clear(0);
  EXPECT_EQ(mbf64->IsZero(), 1);
}

TEST_F(ValueReferenceTest, AllocatedStorageIsOwnedAndReleaseForgetsIt) {
  std::int32_t source = 77;
  auto owned = CreateReference(6, &source, 0, 0, true);
  EXPECT_TRUE(owned->OwnsStorage());
  EXPECT_NE(owned->Address(), &source);
  EXPECT_EQ(owned->GetInt(), 77);
  owned->SetInt(1);
  EXPECT_EQ(source, 77);

  auto clone = owned->Clone();
  EXPECT_FALSE(clone->OwnsStorage());
  EXPECT_EQ(clone->GetInt(), 1);

  owned->Release();
  EXPECT_EQ(owned->Address(), nullptr);
  // A released reference reads 0 and ignores writes instead of touching freed memory.
  owned->SetInt(5);
  EXPECT_EQ(owned->GetInt(), 0);

  auto fresh = CreateReference(18, nullptr, 6, 0, true);
  fresh->Clear(0);
  fresh->PushText();
  EXPECT_EQ(PopText(), "      ");
  DeleteReference(std::move(fresh));
}

TEST_F(ValueReferenceTest, SlicesShareStorageAndCheckTheirBounds) {
  char text[5] = {'h', 'e', 'l', 'l', 'o'};
  auto reference = CreateReference(18, text, 5, 0, false);
  auto slice = reference->Slice(2, 2);
  ASSERT_NE(slice, nullptr);
  EXPECT_EQ(slice->Size(), 1u);
  slice->PushText();
  EXPECT_EQ(PopText(), "e");

  auto middle = reference->Slice(2, 4);
  PushCString("A");
  middle->AssignFromStack();
  EXPECT_EQ(std::string(text, 5), "hA  o");
  auto character = reference->CharAt(5);
  character->PushText();
  EXPECT_EQ(PopText(), "o");

  EXPECT_EQ(reference->Slice(0, 1), nullptr);
  EXPECT_EQ(reference->Slice(3, 2), nullptr);
  EXPECT_EQ(reference->Slice(1, 6), nullptr);
  std::int32_t number = 1;
  EXPECT_EQ(CreateReference(6, &number, 0, 0, false)->Slice(1, 1), nullptr);
  EXPECT_EQ(ReportedCodes(), (std::vector<int>{8, 8, 8, 8}));
  EXPECT_EQ(Sink().reported[0].second, "Parameter typing error");
}

TEST_F(ValueReferenceTest, UnsupportedOperationsReportParameterTypingErrors) {
  UntypedReference base;
  EXPECT_EQ(base.Clone(), nullptr);
  EXPECT_EQ(base.GetInt(), 0);
  EXPECT_EQ(base.GetReal(), 0);
  base.PushText();
  EXPECT_EQ(PopText(), "");
  EXPECT_EQ(base.Element(1), nullptr);
  EXPECT_EQ(base.Dimension(), 0);
  EXPECT_EQ(ReportedCodes(), (std::vector<int>{5, 10, 10, 10, 6}));

  Sink().reported.clear();
  std::int32_t a = 5;
  std::int16_t b = 6;
  std::int32_t c = 7;
  auto int32 = CreateReference(6, &a, 0, 0, false);
  auto int16 = CreateReference(2, &b, 0, 0, false);
  auto other = CreateReference(6, &c, 0, 0, false);
  int32->ReceiveParameter(*int16);
  EXPECT_EQ(a, 5);
  int32->ReceiveParameter(*other);
  EXPECT_EQ(a, 7);
  int16->ReadParameter(*other);
  EXPECT_EQ(b, 7);
  EXPECT_EQ(ReportedCodes(), std::vector<int>{11});
}

TEST_F(ValueReferenceTest, CreateReferenceRefusesUnknownTypeCodes) {
  std::int32_t storage = 0;
  for (int code : {0, 12, 16, 17, 21, 23, 30, 32, -1}) {
    EXPECT_EQ(CreateReference(code, &storage, 4, 0, false), nullptr) << code;
  }
  ASSERT_EQ(Sink().reported.size(), 9u);
  EXPECT_EQ(Sink().reported[1].first, 501);
  EXPECT_EQ(Sink().reported[1].second, "String Stack Error");
}

TEST_F(ValueReferenceTest, TypeCodesSizesAndFieldMatches) {
  unsigned char storage[16] = {};
  struct Case {
    int code;
    std::uint32_t size;
    int typeCode;
    std::uint32_t expectedSize;
    int arithmetic;
  } cases[] = {
      {1, 0, 1, 1, 6},    {2, 0, 2, 2, 6},    {3, 0, 3, 2, 6},     {5, 0, 5, 4, 6},     {7, 0, 7, 4, 10},
      {8, 0, 8, 4, 9},    {9, 0, 9, 8, 9},    {10, 7, 10, 7, 10},  {13, 0, 13, 4, 9},
      {15, 9, 31, 4, 18}, {31, 9, 31, 9, 18}, {18, 9, 18, 9, 18},  {22, 9, 18, 9, 18},
      {19, 9, 19, 9, 18}, {20, 9, 20, 9, 18},
  };
  for (const Case& c : cases) {
    auto reference = CreateReference(c.code, storage, c.size, 0, false);
    EXPECT_EQ(reference->TypeCode(), c.typeCode) << c.code;
    EXPECT_EQ(reference->Size(), c.expectedSize) << c.code;
    EXPECT_EQ(reference->ArithmeticType(), c.arithmetic) << c.code;
  }

  RecordDescription record;
  record.size = 16;
  record.fields = {{"a", "", 6, 0, 4, 0, 1, ""}, {"b", "", 6, 4, 4, 0, 3, ""},
                   {"c", "", 18, 4, 4, 0, 1, ""}};
  auto int32 = CreateReference(6, storage, 0, 0, false);
  EXPECT_EQ(int32->MatchesField(record, 0), 1);
  EXPECT_EQ(int32->MatchesField(record, 1), 0);
  EXPECT_EQ(int32->MatchesField(record, 2), 0);
  EXPECT_EQ(int32->MatchesField(record, 3), 0);
  record.dimension = 4;
  EXPECT_EQ(CreateGroupReference(record, storage)->Dimension(), 4);
  EXPECT_EQ(CreateGroupReference(record, storage)->TypeCode(), 22);
}

TEST_F(ValueReferenceTest, DecimalConversionsLeaveTheThreadsDecimalStackAlone) {
  CurrentDecimalStack().PushInt32(99);
  unsigned char decimal[4] = {};
  auto reference = CreateReference(10, decimal, 4, 2, false);
  reference->SetInt(-12);
  reference->SetReal(reference->GetReal() - 0.5);
  EXPECT_EQ(reference->GetInt(), -12);
  reference->PushText();
  EXPECT_EQ(PopText(), "-12.5");
  EXPECT_EQ(CurrentDecimalStack().Count(), 1);
  reference->PushDecimal();
  CurrentDecimalStack().Add();
  reference->AssignFromDecimal();
  EXPECT_EQ(reference->GetReal(), 86.5);
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);
}

TEST_F(ValueReferenceTest, OemConversionTouchesOnlyText) {
  char text[2] = {static_cast<char>(0xE9), 'a'};
  auto reference = CreateReference(18, text, 2, 0, false);
  reference->ToOem();
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0x82);
  reference->ToAnsi();
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0xE9);
  std::int32_t number = 0xE9;
  CreateReference(6, &number, 0, 0, false)->ToOem();
  EXPECT_EQ(number, 0xE9);
}

}  // namespace
}  // namespace vel::values

#include "runtime/values/picture_compile.h"

#include <gtest/gtest.h>

#include "tests/runtime/values/picture_test_support.h"

namespace vel::values {
namespace {

using testing::Compile;

TEST(CompilePicture, StringPictures) {
  CompiledPicture picture = Compile("@s20");
  EXPECT_EQ(picture.Class(), PictureClass::String);
  EXPECT_EQ(picture.ValueKind(), PictureValueKind::Text);
  EXPECT_EQ(picture.Width(), 20);
  EXPECT_EQ(Compile("S255").Width(), 255);
  EXPECT_EQ(Compile("@S10 \t").Width(), 10);
  for (const char* bad : {"@S0", "@S256", "@S", "@S10x", "@S1000", "@", "", "@X10", "@S-1"}) {
    EXPECT_EQ(Compile(bad).Width(), 0) << bad;
  }
  CompilePicture(nullptr, picture);
  EXPECT_EQ(picture.Class(), PictureClass::String);
  EXPECT_EQ(picture.Width(), 255);
}

TEST(CompilePicture, TextLengthLimit) {
  std::string longest = "@P" + std::string(98, '#') + "P";
  EXPECT_EQ(Compile(longest.c_str()).Width(), 98);
  std::string tooLong = "@P" + std::string(99, '#') + "P";
  EXPECT_EQ(Compile(tooLong.c_str()).Width(), 0);
}

TEST(CompilePicture, BlankWhenZeroSuffix) {
  EXPECT_TRUE(Compile("@N10.2B").BlankWhenZero());
  EXPECT_TRUE(Compile("@N10.2b").BlankWhenZero());
  EXPECT_EQ(Compile("@N10.2B").Width(), 10);
  EXPECT_FALSE(Compile("@N10.2").BlankWhenZero());
  // Too short to carry the suffix: "SB" would leave a single character.
  EXPECT_EQ(Compile("@SB").Width(), 0);
}

TEST(CompilePicture, DateHeaderFields) {
  CompiledPicture picture = Compile("@D2");
  EXPECT_EQ(picture.Class(), PictureClass::Date);
  EXPECT_EQ(picture.ValueKind(), PictureValueKind::DateOrTime);
  EXPECT_EQ(picture.pictureNumber, 2);
  EXPECT_EQ(picture.centuryWindow, 80);
  EXPECT_EQ(Compile("@D2<50").centuryWindow, 50);
  EXPECT_EQ(Compile("@D2<0").centuryWindow, 80);
  EXPECT_EQ(Compile("@D2>10").centuryWindow, 89);
  EXPECT_EQ(Compile("@D2>").centuryWindow, 19);
  EXPECT_EQ(Compile("@D2<50-").positions[2].fill, '-');
  for (const char* bad : {"@D0", "@D19", "@D2x", "@D2<100", "@D2--", "@D", "@T9", "@T0", "@T1<5"}) {
    EXPECT_EQ(Compile(bad).Width(), 0) << bad;
  }
}

TEST(CompilePicture, LayoutWidths) {
  const int dateWidths[] = {8, 10, 11, 21, 8, 10, 9, 11, 8, 10, 6, 8, 5, 7, 5, 7};
  for (int n = 1; n <= 16; ++n) {
    const std::string text = "@D" + std::to_string(n);
    EXPECT_EQ(Compile(text.c_str()).Width(), dateWidths[n - 1]) << text;
  }
  const int timeWidths[] = {5, 4, 7, 8, 6, 10};
  for (int n = 1; n <= 6; ++n) {
    const std::string text = "@T" + std::to_string(n);
    EXPECT_EQ(Compile(text.c_str()).Width(), timeWidths[n - 1]) << text;
  }
  // The default regional settings: 12-hour clock with leading zero, "MM/dd/yy" and the long
  // date of month name, day and year.
  EXPECT_EQ(Compile("@T7").Width(), 8);
  EXPECT_EQ(Compile("@T8").Width(), 11);
  EXPECT_EQ(Compile("@D17").Width(), 8);
  EXPECT_EQ(Compile("@D18").Width(), 18);
}

TEST(CompilePicture, NumericLayoutCodes) {
  const CompiledPicture picture = Compile("@N-$10.2");
  ASSERT_EQ(picture.Width(), 0) << "currency must come before the sign";
  const CompiledPicture money = Compile("@N$-10.2");
  ASSERT_EQ(money.Width(), 10);
  const uint8_t expected[] = {kCurrency,       kSign,           kDigitBlankable,
                              kGroupSeparator, kDigitBlankable, kDigitBlankable,
                              kDigitShown,     kDecimalSeparator, kDigitShown};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(money.positions[i].code, expected[i]) << i;
  EXPECT_EQ(Compile("@N6v2").positions[3].code, kImpliedDecimal);
  EXPECT_EQ(Compile("@N*8").positions[0].fill, '*');
}

TEST(CompilePicture, InvalidNumericPictures) {
  for (const char* bad : {"@N", "@N0", "@N101", "@N3.2", "@N(10.2", "@N10.2)", "@N-10.2-",
                          "@N$10.2$", "@N~EUR10.2", "@N10.2x", "@N$-2", "@N10.101"}) {
    EXPECT_EQ(Compile(bad).Width(), 0) << bad;
  }
  EXPECT_EQ(Compile("@N(10.2)").Width(), 10);
  EXPECT_EQ(Compile("@N10.2~ EUR~").Width(), 10);
  EXPECT_EQ(Compile("@N4.2").Width(), 4);
}

TEST(CompilePicture, ScientificPictures) {
  CompiledPicture picture = Compile("@E12.1");
  EXPECT_EQ(picture.Class(), PictureClass::Scientific);
  EXPECT_EQ(picture.ValueKind(), PictureValueKind::Scientific);
  EXPECT_EQ(picture.pictureNumber, 12);
  EXPECT_EQ(picture.positions[7].code, kLiteral);
  EXPECT_EQ(picture.positions[8].code, kExponentSign);
  EXPECT_EQ(Compile("@E7.0").Width(), 7);
  for (const char* bad : {"@E6", "@E101", "@E8.2", "@E12x1", "@E"}) {
    EXPECT_EQ(Compile(bad).Width(), 0) << bad;
  }
}

TEST(CompilePicture, PatternAndKeyInPictures) {
  CompiledPicture pattern = Compile("@P###-##P");
  EXPECT_EQ(pattern.Class(), PictureClass::Pattern);
  EXPECT_EQ(pattern.ValueKind(), PictureValueKind::Numeric);
  EXPECT_EQ(pattern.Width(), 6);
  EXPECT_EQ(pattern.positions[3].code, kLiteral);
  EXPECT_EQ(Compile("@P###-##p").Width(), 0);
  EXPECT_EQ(Compile("@p<#p").Width(), 2);
  EXPECT_EQ(Compile("@PP").Width(), 0);
  CompiledPicture keyIn = Compile("@K@^_?|\\#K");
  EXPECT_EQ(keyIn.Class(), PictureClass::KeyIn);
  ASSERT_EQ(keyIn.Width(), 6);
  const uint8_t codes[] = {kKeyInLetter, kKeyInUpper, kKeyInLower, kKeyInAny, kKeyInOptionalEnd,
                           kLiteral};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(keyIn.positions[i].code, codes[i]);
  EXPECT_EQ(keyIn.positions[5].fill, '#');
}

TEST(PictureBufferSize, ByClass) {
  EXPECT_EQ(PictureBufferSize("@S40"), 2);
  EXPECT_EQ(PictureBufferSize("@N10.2"), 22);
  EXPECT_EQ(PictureBufferSize("@D2"), 22);
  EXPECT_EQ(PictureBufferSize("@Q1"), 0);
  EXPECT_EQ(PictureBufferSize(nullptr), 2);
}

}  // namespace
}  // namespace vel::values

#include "runtime/values/picture_format.h"

#include <gtest/gtest.h>

#include "runtime/values/date_calendar.h"
#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/time_values.h"
#include "tests/runtime/values/picture_test_support.h"

namespace vel::values {
namespace {

using testing::Format;
using testing::FormatSerial;

struct Case {
  const char* picture;
  const char* value;
  const char* expected;
};

const int32_t kJuly4th1999 = 72506;

TEST(FormatDate, EveryFixedLayout) {
  const Case cases[] = {
      {"@D1", "", " 7/04/99"},        {"@D2", "", " 7/04/1999"},
      {"@D2-", "", " 7-04-1999"},     {"@D02", "", "07/04/1999"},
      {"@D3", "", "JUL  4,1999"},     {"@D4", "", "July          4, 1999"},
      {"@D5", "", " 4/07/99"},        {"@D6.", "", " 4.07.1999"},
      {"@D6_", "", " 4 07 1999"},     {"@D6`", "", " 4,07,1999"},
      {"@D7", "", " 4 JUL 99"},       {"@D8", "", " 4 JUL 1999"},
      {"@D9", "", "99/07/04"},        {"@D10", "", "1999/07/04"},
      {"@D11", "", "990704"},         {"@D12", "", "19990704"},
      {"@D13", "", "07/99"},          {"@D14", "", "07/1999"},
      {"@D15", "", "99/07"},          {"@D16", "", "1999/07"},
      {"@D17", "", "07/04/99"},       {"@D18", "", "July      04, 1999"},
      {"@D_3", "", "JUL  4,1999"},    {"@D*1", "", "*7/*4/99"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatSerial(c.picture, kJuly4th1999), c.expected) << c.picture;
  }
}

TEST(FormatDate, InvalidAndZeroDates) {
  EXPECT_EQ(FormatSerial("@D2", 0), "          ");
  EXPECT_EQ(FormatSerial("@D2", -1), "          ");
  EXPECT_EQ(FormatSerial("@D2", kLastSerialDate + 1), "          ");
  EXPECT_EQ(FormatSerial("@D2B", 0), "          ");
  EXPECT_EQ(FormatSerial("@D2", kLastSerialDate), "12/31/9999");
  EXPECT_EQ(FormatSerial("@D1", DateToSerial(1, 9, 2005)), " 1/09/05");
  // A date held as text is read as a number first.
  EXPECT_EQ(Format("@D2", "72506"), " 7/04/1999");
  EXPECT_EQ(Format("@D2", "  72506.9xyz"), " 7/04/1999");
}

TEST(FormatTime, EveryFixedLayout) {
  const int32_t afternoon = PartsToTime(14, 5, 0, 0);
  const Case cases[] = {
      {"@T1", "", "14:05"},      {"@T2", "", "1405"},          {"@T3", "", " 2:05PM"},
      {"@T4", "", "14:05:00"},   {"@T5", "", "140500"},        {"@T6", "", " 2:05:00PM"},
      {"@T1.", "", "14.05"},     {"@T7", "", "02:05 PM"},      {"@T8", "", "02:05:00 PM"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatSerial(c.picture, afternoon), c.expected) << c.picture;
  EXPECT_EQ(FormatSerial("@T3", PartsToTime(0, 5, 0, 0)), "12:05AM");
  EXPECT_EQ(FormatSerial("@T3", PartsToTime(12, 0, 0, 0)), "12:00PM");
  EXPECT_EQ(FormatSerial("@T01", PartsToTime(9, 5, 0, 0)), "09:05");
  EXPECT_EQ(FormatSerial("@T4", PartsToTime(23, 59, 59, 99)), "23:59:59");
  EXPECT_EQ(FormatSerial("@T1", 1), " 0:00");
  EXPECT_EQ(FormatSerial("@T1B", 1), "     ");
  EXPECT_EQ(FormatSerial("@T1B", PartsToTime(0, 0, 0, 50)), "     ");
  EXPECT_EQ(FormatSerial("@T1B", PartsToTime(0, 1, 0, 0)), " 0:01");
}

TEST(FormatNumeric, OptionsSignsAndFills) {
  const Case cases[] = {
      {"@N10.2", "1234.5", "  1,234.50"},
      {"@N-10.2", "-1234.5", "- 1,234.50"},
      {"@N-10.2", "1234.5", "  1,234.50"},
      {"@N10.2-", "-1234.5", " 1,234.50-"},
      {"@N(10.2)", "-1234.5", "(1,234.50)"},
      {"@N(10.2)", "1234.5", " 1,234.50 "},
      {"@N$10.2", "1234.5", "$ 1,234.50"},
      {"@N10.2~ EUR~", "1.5", "  1.50 EUR"},
      {"@N~EUR~10.2", "1.5", "EUR   1.50"},
      {"@N010.2", "1234.5", "0001234.50"},
      {"@N*10.2", "1234.5", "***1234.50"},
      {"@N_10.2", "1234.5", "   1234.50"},
      {"@N10`2", "1234.5", "  1.234,50"},
      {"@N10_.2", "1234.5", "  1 234.50"},
      {"@N*10,.2", "1234.5", "**1,234.50"},
      {"@N*10,.2", "12.5", "*****12.50"},
      {"@N10.", "1234567", " 1.234.567"},
      {"@N10.2", "0", "      0.00"},
      {"@N10.2", "0.5", "      0.50"},
      {"@N10.2", "", "      0.00"},
      {"@N6", "12345", "12,345"},
      {"@N5", "7", "    7"},
      {"@N6v2", "12.34", "  1234"},
      {"@N6v2", "0.05", "   005"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.picture, c.value), c.expected) << c.picture << " " << c.value;
}

TEST(FormatNumeric, RoundingOverflowAndBlankWhenZero) {
  const Case cases[] = {
      {"@N5.1", "9.96", " 10.0"},
      {"@N-6.1", "-2.25", "-  2.3"},
      {"@N-6.1", "-2.24", "-  2.2"},
      {"@N5", "0.5", "    1"},
      {"@N5", "-0.4", "    0"},
      {"@N-5", "-0.001", "    0"},
      {"@N4.2", "9.996", "#.00"},
      {"@N6", "123456", "######"},
      {"@N6", "1234567", "######"},
      {"@N10.2B", "0", "          "},
      {"@N10.2B", "0.004", "          "},
      {"@N10.2B", "0.005", "      0.01"},
      {"@N10.2", "99999999.999", "#######.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.picture, c.value), c.expected) << c.picture << " " << c.value;
}

TEST(FormatNumeric, NegativeWithoutSignPositionKeepsItsSign) {
  EXPECT_EQ(Format("@N10.2", "-1234.5"), " -1,234.50");
  EXPECT_EQ(Format("@N010.2", "-1234.5"), "-001234.50");
  EXPECT_EQ(Format("@N5", "-12345"), "#####");
  EXPECT_EQ(Format("@N6", "-1234"), "-1,234");
}

TEST(FormatNumeric, MorePlacesThanADecimalHoldsShowZerosBelow) {
  // A decimal keeps 32 places; a picture may ask for more, which read as zeros.
  const std::string shown = Format("@N080.40", "1.25");
  ASSERT_EQ(shown.size(), 80u);
  const size_t point = shown.find('.');
  ASSERT_NE(point, std::string::npos);
  EXPECT_EQ(shown.substr(point - 1), "1." + std::string("25") + std::string(38, '0'));
  EXPECT_EQ(Format("@N090.77", "").size(), 90u);
}

TEST(FormatPattern, DigitsRightAligned) {
  EXPECT_EQ(Format("@P###-##P", "12345"), "123-45");
  EXPECT_EQ(Format("@P###-##P", "1234"), "012-34");
  EXPECT_EQ(Format("@P<<#P", "5"), "  5");
  EXPECT_EQ(Format("@P<<#P", "0"), "  0");
  EXPECT_EQ(Format("@P###-##P", "123456"), "###-##");
  EXPECT_EQ(Format("@P(###) ###-####P", "5551234567"), "(555) 123-4567");
}

TEST(FormatScientific, MantissaAndExponent) {
  const Case cases[] = {
      {"@E12.1", "1234.5", " 1.2345E+003"},
      {"@E12.1", "-0.00012", "-1.2000E-004"},
      {"@E12.1", "0", " 0.0000E+000"},
      {"@E12.1", "9.99996", " 1.0000E+001"},
      {"@E9.0", "0.5", " .50E+000"},
      {"@E12.4", "123456", " 1,235.E+002"},
      {"@E12`1", "1234.5", " 1,2345E+003"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.picture, c.value), c.expected) << c.picture << " " << c.value;
  EXPECT_EQ(Format("@E12.1B", "0"), "            ");
}

TEST(FormatText, CopiesCutOrPadded) {
  EXPECT_EQ(Format("@S5", "abcdefg"), "abcde");
  EXPECT_EQ(Format("@S5", "ab"), "ab   ");
  EXPECT_EQ(Format("@K###-##K", "12345"), "12345 ");
  EXPECT_EQ(Format("@Q5", "abc"), "");
  // Numbers through text pictures show their plain text.
  const CompiledPicture picture = testing::Compile("@S8");
  const DecimalEntry value = DecimalFromText("-12.50", 6);
  char out[8];
  EXPECT_EQ(std::string(out, FormatDecimal(picture, value, out, sizeof out)), "-12.5   ");
}

TEST(DecFormat, FormatsAndPopsTheDecimalStackTop) {
  DecimalStack stack;
  DecimalStack* previous = ExchangeCurrentDecimalStack(&stack);
  DecPushText("-1234.567");
  DecPushText("99.995");
  const CompiledPicture picture = testing::Compile("@N-10.2");
  char out[10];
  EXPECT_EQ(std::string(out, DecFormat(picture, out, sizeof out)), "    100.00");
  EXPECT_EQ(std::string(out, DecFormat(picture, out, sizeof out)), "- 1,234.57");
  EXPECT_EQ(CurrentDecimalStack().Count(), 0);
  ExchangeCurrentDecimalStack(previous);
}

TEST(FormatText, OutputIsCutToCapacity) {
  const CompiledPicture picture = testing::Compile("@N10.2");
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(FormatWithPicture(picture, "1234.5", 6, out, 3), 3u);
  EXPECT_EQ(out[3], 'x');
}

}  // namespace
}  // namespace vel::values

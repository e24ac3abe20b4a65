#include "runtime/values/picture_deformat.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/values/date_calendar.h"
#include "runtime/values/locale_settings.h"
#include "runtime/values/time_values.h"
#include "tests/runtime/values/picture_test_support.h"

namespace vel::values {
namespace {

using testing::Deformat;

struct Case {
  const char* picture;
  const char* text;
  const char* expected;
};

TEST(DeformatNumeric, PositionsAndStrayCharacters) {
  const Case cases[] = {
      {"@N10.2", "  1,234.50", "001234.50"},
      {"@N-10.2", "- 1,234.50", "-01234.50"},
      {"@N10.2-", " 1,234.50-", "-01234.50"},
      {"@N(10.2)", "(1,234.50)", "-1234.50"},
      {"@N$10.2", "$ 1,234.50", "01234.50"},
      {"@N10.2", "  1x234.5a", "001234.5"},
      {"@N10.2", "  1,234+50", "001234.50"},
      {"@N10.2", "-   12,3.4", "-0012.4"},
      {"@N10`2", "  1.234,50", "001234.50"},
      {"@N6v2", "001234", "0012.34"},
      {"@N10.2", "", ""},
      {"@N10.2", "12", "12"},
      {"@P###-##P", "123-45", "12345"},
      {"@P###-##P", "12x-4y", "124"},
      {"@P<<#P", "  5", "005"},
      {"@E12.1", " 1.2345E+003", "1.2345e+003"},
      {"@E12.1", "-1.2000E-004", "-1.2000e-004"},
      {"@K###-@@K", "123-ab", "123ab"},
      {"@K###-@@K", "1-3-ab", "13ab"},
      {"@Q1", "123", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Deformat(c.picture, c.text), c.expected) << c.picture << " '" << c.text << "'";
  }
}

TEST(DeformatText, PlainNumberRules) {
  const Case cases[] = {
      {"@S20", "$1,234.50 extra", "1234.50e"},
      {"@S10", "$1,234.50 extra", "1234.50"},
      {"@S20", "-1.5e-3x", "-1.5e-3"},
      {"@S20", "1.5E+3", "1.5E+3"},
      {"@S20", "1-2", "12"},
      {"@S20", "1.2.3", "1.23"},
      {"@S20", "  -7", "-7"},
      {"@S20", "+7", "7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Deformat(c.picture, c.text), c.expected) << c.picture << " '" << c.text << "'";
  }
}

TEST(DeformatDate, TypedDates) {
  const std::string july4th = std::to_string(DateToSerial(7, 4, 1999));
  const Case cases[] = {
      {"@D2", " 7/04/1999", july4th.c_str()},
      {"@D2", "7/4/1999", july4th.c_str()},
      {"@D2", "07041999", july4th.c_str()},
      {"@D2-", " 7-04-1999", july4th.c_str()},
      {"@D6.", " 4.07.1999", july4th.c_str()},
      {"@D3", "JUL  4,1999", july4th.c_str()},
      {"@D3", "jul 4, 1999", july4th.c_str()},
      {"@D4", "July          4, 1999", july4th.c_str()},
      {"@D7", " 4 JUL 99", july4th.c_str()},
      {"@D8", "4jul1999", july4th.c_str()},
      {"@D10", "1999/07/04", july4th.c_str()},
      {"@D12", "19990704", july4th.c_str()},
      {"@D18", "July      04, 1999", july4th.c_str()},
      {"@D2", "", "0"},
      {"@D2", "  /  /    ", "0"},
      {"@D3", "Jux  4,1999", "-1"},
      {"@D2", " 2/29/1900", "-1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Deformat(c.picture, c.text), c.expected) << c.picture << " '" << c.text << "'";
  }
  // Typed fields go through the date normalisation: month 13 is January of the next year.
  EXPECT_EQ(Deformat("@D2", "13/45/1999"), std::to_string(DateToSerial(2, 14, 2000)));
  // Month and year layouts take the first day of the month.
  EXPECT_EQ(Deformat("@D14", "07/1999"), std::to_string(DateToSerial(7, 1, 1999)));
  EXPECT_EQ(Deformat("@D16", "1999/07"), std::to_string(DateToSerial(7, 1, 1999)));
}

TEST(DeformatDate, TwoDigitYearsUseThePictureWindow) {
  const int now = CurrentYear();
  const int twoDigits = (now + 10) % 100;
  char text[16];
  std::snprintf(text, sizeof text, " 1/01/%02d", twoDigits);
  // The default window of 80 puts a year ten ahead into the future; a window of 95 ("<95")
  // reaches back far enough that the same two digits mean the previous century.
  EXPECT_EQ(Deformat("@D1", text), std::to_string(DateToSerial(1, 1, now + 10)));
  EXPECT_EQ(Deformat("@D1<95", text), std::to_string(DateToSerial(1, 1, now + 10 - 100)));
  EXPECT_EQ(Deformat("@D1>0", text), std::to_string(DateToSerial(1, 1, now + 10)));
  EXPECT_EQ(Deformat("@D1>5", text), std::to_string(DateToSerial(1, 1, now + 10 - 100)));
}

TEST(DeformatTime, TypedTimes) {
  auto time = [](int h, int m, int s) { return std::to_string(PartsToTime(h, m, s, 0)); };
  const std::string afternoon = time(14, 5, 0);
  const std::string halfPastNoon = time(12, 30, 0);
  const std::string withSeconds = time(14, 5, 30);
  const Case cases[] = {
      {"@T1", "14:05", afternoon.c_str()},
      {"@T3", " 2:05PM", afternoon.c_str()},
      {"@T3", "2:05pm", afternoon.c_str()},
      {"@T6", " 2:05:00PM", afternoon.c_str()},
      {"@T2", "1405", afternoon.c_str()},
      {"@T7", "02:05 PM", afternoon.c_str()},
      {"@T3", "12:00AM", "1"},
      {"@T3", "12:30PM", halfPastNoon.c_str()},
      {"@T1", " 0:00", "0"},
      {"@T1", "", "0"},
      {"@T1", "24:00", "-1"},
      {"@T1", "10:60", "-1"},
      {"@T4", "10:00:75", "-1"},
      {"@T4", "14:05:30", withSeconds.c_str()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Deformat(c.picture, c.text), c.expected) << c.picture << " '" << c.text << "'";
  }
}

// The layouts from the regional settings use the Windows AM and PM texts both ways; the
// fixed layouts keep the runtime's own texts.
TEST(DeformatTime, WindowsAmPmTextsForTheRegionalLayouts) {
  LocaleSettings& locale = Locale();
  locale.windowsAmText = "vm";
  locale.windowsPmText = "nm";
  const int32_t evening = PartsToTime(21, 5, 0, 0);
  EXPECT_EQ(testing::FormatSerial("@T7", evening), "09:05 nm");
  EXPECT_EQ(testing::FormatSerial("@T3", evening), " 9:05PM");
  EXPECT_EQ(Deformat("@T7", "09:05 nm"), std::to_string(evening));
  EXPECT_EQ(Deformat("@T7", "09:05 NM"), std::to_string(evening));
  EXPECT_EQ(Deformat("@T7", "09:05 vm"), std::to_string(PartsToTime(9, 5, 0, 0)));
  EXPECT_EQ(Deformat("@T3", " 9:05nm"), std::to_string(PartsToTime(9, 5, 0, 0)));
  ResetLocaleSettings(locale);
}

TEST(DeformatWithPicture, ResultIsCutToCapacity) {
  const CompiledPicture picture = testing::Compile("@N-10.2");
  char out[3] = {};
  const char* text = "- 1,234.50";
  EXPECT_EQ(DeformatWithPicture(picture, text, 10, out, sizeof out), 3u);
  EXPECT_EQ(std::string(out, 3), "-01");
  char one[1] = {};
  EXPECT_EQ(DeformatWithPicture(testing::Compile("@N10.2"), "  1,234.50", 10, one, sizeof one), 1u);
  EXPECT_EQ(one[0], '0');
  char small[3] = {};
  EXPECT_EQ(DeformatWithPicture(testing::Compile("@D2"), " 7/04/1999", 10, small, sizeof small), 3u);
  EXPECT_EQ(std::string(small, 3), "725");  // of serial 72506
  EXPECT_EQ(DeformatWithPicture(testing::Compile("@D2"), " 2/29/1900", 10, small, 2), 2u);
  EXPECT_EQ(std::string(small, 2), "-1");
}

TEST(FormatAndDeformat, RoundTripThroughEveryDateLayout) {
  for (int layout = 1; layout <= 18; ++layout) {
    const std::string picture = "@D" + std::to_string(layout);
    for (int32_t serial : {DateToSerial(1, 31, 2001), DateToSerial(12, 9, 2030), DateToSerial(2, 28, 1999)}) {
      const std::string shown = testing::FormatSerial(picture.c_str(), serial);
      int32_t expected = serial;
      CalendarDate date;
      SerialToDate(serial, date);
      if (layout >= 13 && layout <= 16) expected = DateToSerial(date.month, 1, date.year);
      EXPECT_EQ(Deformat(picture.c_str(), shown), std::to_string(expected)) << picture << " '" << shown << "'";
    }
  }
}

}  // namespace
}  // namespace vel::values

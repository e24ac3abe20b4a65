#include "runtime/values/date_calendar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vel::values {
namespace {

std::string TestDataPath(const char* name) {
  const char* dir = std::getenv("VELMORA_TEST_DATA");
  return std::string(dir ? dir : "tests/data") + "/" + name;
}

// The committed oracle was produced by Python's datetime (see make_date_oracle.py), which
// shares no code with the conversions under test.
TEST(SerialDateOracle, SampledDaysMatchIndependentCalendar) {
  std::ifstream in(TestDataPath("serial_dates.txt"));
  ASSERT_TRUE(in) << "set VELMORA_TEST_DATA to the tests/data folder";
  std::string line;
  int checked = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    int32_t serial = 0;
    int year = 0, month = 0, day = 0;
    fields >> serial >> year >> month >> day;
    CalendarDate date;
    ASSERT_TRUE(SerialToDate(serial, date)) << serial;
    ASSERT_EQ(date.year, year) << serial;
    ASSERT_EQ(date.month, month) << serial;
    ASSERT_EQ(date.day, day) << serial;
    ASSERT_EQ(DateToSerial(month, day, year), serial);
    ++checked;
  }
  EXPECT_EQ(checked, 2996);
}

// Every day of the range: the conversion back gives the same serial, and consecutive serials
// give consecutive calendar days, so no day is skipped or repeated between oracle samples.
TEST(SerialDateOracle, WholeRangeRoundTripsAndAdvancesOneDayAtATime) {
  CalendarDate previous{31, 12, 1800};
  for (int32_t serial = kFirstSerialDate; serial <= kLastSerialDate; ++serial) {
    CalendarDate date;
    ASSERT_TRUE(SerialToDate(serial, date));
    ASSERT_EQ(DateToSerial(date.month, date.day, date.year), serial);
    const bool nextDay = date.year == previous.year && date.month == previous.month &&
                         date.day == previous.day + 1;
    const bool nextMonth = date.day == 1 && date.year == previous.year &&
                           date.month == previous.month + 1 &&
                           previous.day == DaysInMonth(previous.month, previous.year);
    const bool nextYear = date.day == 1 && date.month == 1 && previous.month == 12 &&
                          previous.day == 31 && date.year == previous.year + 1;
    ASSERT_TRUE(nextDay || nextMonth || nextYear) << serial;
    previous = date;
  }
}

TEST(DateToSerial, KnownDatesAndLimits) {
  EXPECT_EQ(DateToSerial(1, 1, 1801), 4);
  EXPECT_EQ(DateToSerial(12, 31, 9999), 2994626);
  EXPECT_EQ(DateToSerial(7, 4, 1999), 72506);
  EXPECT_EQ(DateToSerial(2, 29, 1900), -1);
  EXPECT_NE(DateToSerial(2, 29, 2000), -1);
  EXPECT_EQ(DateToSerial(2, 29, 2000) + 1, DateToSerial(3, 1, 2000));
  EXPECT_EQ(DateToSerial(12, 31, 1800), -1);
  EXPECT_EQ(DateToSerial(1, 1, 10000), -1);
  EXPECT_EQ(DateToSerial(0, 1, 1999), -1);
  EXPECT_EQ(DateToSerial(1, 0, 1999), -1);
  EXPECT_EQ(DateToSerial(-3, 5, 1999), -1);
  EXPECT_EQ(DateToSerial(1, 1, -5), -1);
}

TEST(DateToSerial, NormalisesOverflowingMonthsAndDaysWithRealMonthLengths) {
  EXPECT_EQ(DateToSerial(14, 1, 1999), DateToSerial(2, 1, 2000));
  EXPECT_EQ(DateToSerial(4, 31, 1999), DateToSerial(5, 1, 1999));
  // February carries after 28 days in a common year and 29 in a leap year; only a date given
  // as the 29th of a common year is rejected.
  EXPECT_EQ(DateToSerial(2, 30, 1999), DateToSerial(3, 2, 1999));
  EXPECT_EQ(DateToSerial(2, 30, 1900), DateToSerial(3, 2, 1900));
  EXPECT_EQ(DateToSerial(2, 30, 2000), DateToSerial(3, 1, 2000));
  EXPECT_EQ(DateToSerial(2, 29, 1999), -1);
  EXPECT_EQ(DateToSerial(14, 29, 2000), -1);
  EXPECT_EQ(DateToSerial(14, 29, 1999), DateToSerial(2, 29, 2000));
  EXPECT_EQ(DateToSerial(12, 32, 1999), DateToSerial(1, 1, 2000));
  EXPECT_EQ(DateToSerial(1, 366, 2000), DateToSerial(12, 31, 2000));
  // Day-of-year arithmetic: day n of January is the n-th day of the year.
  EXPECT_EQ(DateToSerial(1, 365, 1999), 72686);
  EXPECT_EQ(DateToSerial(1, 100, 2001), 73152);
  EXPECT_EQ(DateToSerial(1, 60, 1999), 72381);
  EXPECT_EQ(DateToSerial(1, 60, 1999), DateToSerial(3, 1, 1999));
  EXPECT_EQ(DateToSerial(1, 366, 1999), DateToSerial(1, 1, 2000));
  // Overflow may carry a date from before the range into it, and past the end out of it.
  EXPECT_EQ(DateToSerial(13, 1, 1800), 4);
  EXPECT_EQ(DateToSerial(1, 366, 1800), 4);
  EXPECT_EQ(DateToSerial(12, 32, 9999), -1);
  // Huge counts end quickly with -1 instead of looping.
  EXPECT_EQ(DateToSerial(2000000000, 1, 1999), -1);
  EXPECT_EQ(DateToSerial(1, 2000000000, 1999), -1);
}

// Every day of the range, reached as "day n of January" of its year, lands on its own serial.
TEST(DateToSerial, DayOfYearRoundTripsOverTheWholeRange) {
  int32_t serial = kFirstSerialDate;
  for (int year = 1801; year <= 9999; ++year) {
    const int days = IsLeapYear(year) ? 366 : 365;
    for (int dayOfYear = 1; dayOfYear <= days; ++dayOfYear, ++serial) {
      ASSERT_EQ(DateToSerial(1, dayOfYear, year), serial) << year << " day " << dayOfYear;
    }
  }
  EXPECT_EQ(serial, kLastSerialDate + 1);
}

TEST(SerialToDate, RejectsOutsideRange) {
  CalendarDate date{5, 5, 5};
  EXPECT_FALSE(SerialToDate(3, date));
  EXPECT_EQ(date.year, 0);
  EXPECT_FALSE(SerialToDate(2994627, date));
  EXPECT_FALSE(SerialToDate(-1, date));
  EXPECT_FALSE(SerialToDate(0, date));
}

TEST(LeapYears, CenturyRules) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(1996));
  EXPECT_FALSE(IsLeapYear(1999));
  EXPECT_EQ(IsLeapYear(0), IsLeapYear(ExpandYear(0, kDefaultCenturyWindow)));
}

TEST(ExpandYear, CenturyWindowAroundCurrentYear) {
  EXPECT_EQ(ExpandYearFrom(45, 80, 2026), 2045);
  EXPECT_EQ(ExpandYearFrom(47, 80, 2026), 1947);
  EXPECT_EQ(ExpandYearFrom(46, 80, 2026), 1946);
  EXPECT_EQ(ExpandYearFrom(0, 80, 2026), 2000);
  EXPECT_EQ(ExpandYearFrom(99, 80, 2026), 1999);
  EXPECT_EQ(ExpandYearFrom(26, 0, 2026), 2026);
  EXPECT_EQ(ExpandYearFrom(25, 0, 2026), 2125);
  EXPECT_EQ(ExpandYearFrom(27, 99, 2026), 1927);
  EXPECT_EQ(ExpandYearFrom(26, 99, 2026), 2026);
  EXPECT_EQ(ExpandYearFrom(100, 80, 2026), 100);
  EXPECT_EQ(ExpandYearFrom(1999, 80, 2026), 1999);
  // A window reaching below year 0 still lands within its 100 years.
  EXPECT_EQ(ExpandYearFrom(5, 90, 50), 5);
  EXPECT_EQ(ExpandYearFrom(50, 90, 50), -50 + 100);
  const int now = CurrentYear();
  EXPECT_EQ(ExpandYear(now % 100, 80), now);
}

TEST(DatePacking, RoundTripAndInvalidValues) {
  const int32_t serial = DateToSerial(7, 4, 1999);
  EXPECT_EQ(DateToPacked(serial), 4u | 7u << 8 | 1999u << 16);
  unsigned char storage[4] = {9, 9, 9, 9};
  StoreDateValue(serial, storage);
  EXPECT_EQ(storage[0], 4);
  EXPECT_EQ(storage[1], 7);
  EXPECT_EQ(storage[2], 1999 & 0xFF);
  EXPECT_EQ(storage[3], 1999 >> 8);
  EXPECT_EQ(LoadDateValue(storage), serial);
  EXPECT_EQ(DateToPacked(0), 0u);
  EXPECT_EQ(DateToPacked(kLastSerialDate + 1), 0u);
  EXPECT_EQ(PackedToDate(0), 0);
  EXPECT_EQ(PackedToDate(31u | 2u << 8 | 1999u << 16), 0);
  EXPECT_EQ(PackedToDate(1u | 1u << 8 | 10000u << 16), kLastSerialDate);
  EXPECT_EQ(PackedToDate(DateToPacked(kFirstSerialDate)), kFirstSerialDate);
}

TEST(Today, LiesInTheCurrentYear) {
  CalendarDate date;
  ASSERT_TRUE(SerialToDate(Today(), date));
  EXPECT_GE(date.year, CurrentYear());
  EXPECT_LE(date.year, CurrentYear() + 1);
}

}  // namespace
}  // namespace vel::values

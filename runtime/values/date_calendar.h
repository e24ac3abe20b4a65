#pragma once
// Serial dates: a signed day count where day 0 is 28 December 1800, so day 4 is 1 January 1801
// and day 2994626 is 31 December 9999. Day 0 stands for "no date".

#include <cstdint>

namespace vel::values {

/// First and last valid serial dates (1 January 1801 and 31 December 9999).
inline constexpr int32_t kFirstSerialDate = 4;
inline constexpr int32_t kLastSerialDate = 2994626;

/// The century window used wherever no picture supplies one.
inline constexpr int kDefaultCenturyWindow = 80;

/// A calendar date split into its fields.
struct CalendarDate {
  int day = 0;
  int month = 0;
  int year = 0;
};

/// True for a year divisible by 4 and either divisible by 400 or not by 100. A year below 100
/// is first expanded with the default century window.
bool IsLeapYear(int year);

/// Number of days in `month` (1 to 12) of `year` (already expanded); 0 for a month out of range.
int DaysInMonth(int month, int year);

/// The current local year, read once and then kept for the life of the program.
int CurrentYear();

/// The year ending in `year` mod 100 that lies in the 100 years from currentYear - window to
/// currentYear - window + 99. Years of 100 and more (and negative years) come back unchanged.
int ExpandYearFrom(int year, int window, int currentYear);

/// `ExpandYearFrom` against the cached `CurrentYear`.
int ExpandYear(int year, int window);

namespace detail {

/// Serial day 0 (28 December 1800) counted in days from 1 March of year 0.
inline constexpr uint32_t kSerialOrigin = 657738;

/// Days from 1 March to the first of each month, January first; January and February end
/// the counting year.
inline constexpr uint32_t kDaysFromMarch[12] = {306, 337, 0, 31, 61, 92, 122, 153, 184, 214, 245, 275};

/// Length of each month in a common year.
inline constexpr int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr bool IsLeapFullYear(int year) { return year % 4 == 0 && (year % 400 == 0 || year % 100 != 0); }

/// The serial day of a valid calendar date from 1801 to 9999. Counted from 1 March, the leap
/// day ends a counting year, so no leap-year test is needed; unsigned arithmetic lets the
/// divisions by constants go without sign corrections.
constexpr int32_t SerialOfCalendarDate(int month, int day, int year) {
  const uint32_t countingYear = static_cast<uint32_t>(year) - (month <= 2 ? 1 : 0);
  const uint32_t centuries = countingYear / 100;
  const uint32_t days = countingYear * 365 + countingYear / 4 - centuries + centuries / 4 +
                        kDaysFromMarch[month - 1] + static_cast<uint32_t>(day) - 1;
  return static_cast<int32_t>(days - kSerialOrigin);
}

/// DateToSerial for dates that may need normalising.
int32_t NormalisingDateToSerial(int month, int day, int year);

}  // namespace detail

/// Normalises month and day overflow with the real month lengths (month 14 is February of the
/// next year, 31 April is 1 May, day 60 of January 1999 is 1 March) and converts to a serial
/// date; -1 for a date outside 1801 to 9999, a month or day below 1, or 29 February of a
/// common year. A year below 100 is expanded with the default century window.
/// Inline because dates as typed or stored are nearly always plain calendar dates in range,
/// which need none of the normalisation; only 29 February needs the year's leap test.
inline int32_t DateToSerial(int month, int day, int year) {
  if (year >= 1801 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= detail::kMonthLength[month - 1]) {
    return detail::SerialOfCalendarDate(month, day, year);
  }
  return detail::NormalisingDateToSerial(month, day, year);
}

/// Splits a serial date into its fields. Returns false (and leaves `date` zeroed) for a
/// serial outside 4 to 2994626. Inline because pictures and conversions call it per value.
inline bool SerialToDate(int32_t serial, CalendarDate& date) {
  if (serial < kFirstSerialDate || serial > kLastSerialDate) {
    date = CalendarDate{};
    return false;
  }
  // Days from 1 March of year 0, where the leap day falls at the end of each counting year.
  // Centuries and years come from multiply-and-shift forms of the divisions by 36524.25 and
  // 365.25 (exact over this range), and the month and day from the 153-day five-month cycle.
  const uint32_t days = static_cast<uint32_t>(serial) + detail::kSerialOrigin;
  const uint32_t n1 = 4 * days + 3;
  const uint32_t century = n1 / 146097;
  const uint32_t dayOfCentury = n1 % 146097 / 4;
  const uint64_t p2 = uint64_t{2939745} * (4 * dayOfCentury + 3);
  const uint32_t yearOfCentury = static_cast<uint32_t>(p2 >> 32);
  const uint32_t dayOfYear = static_cast<uint32_t>(p2) / 2939745 / 4;
  const uint32_t n3 = 2141 * dayOfYear + 197913;
  const uint32_t month = n3 >> 16;
  const bool januaryOrFebruary = dayOfYear >= 306;
  date.day = static_cast<int>((n3 & 0xFFFF) / 2141 + 1);
  date.month = static_cast<int>(januaryOrFebruary ? month - 12 : month);
  date.year = static_cast<int>(100 * century + yearOfCentury + (januaryOrFebruary ? 1 : 0));
  return true;
}

/// The local date as a serial date.
int32_t Today();

/// Packs a serial date into `DateValue` storage: day, month, then the year as a little-endian
/// 16-bit number. An invalid serial gives 0.
uint32_t DateToPacked(int32_t serial);

/// Reads `DateValue` storage back into a serial date. A stored year above 9999 reads as
/// 31 December 9999; an invalid date gives 0.
int32_t PackedToDate(uint32_t packed);

/// `DateToPacked` writing the 4 storage bytes directly.
void StoreDateValue(int32_t serial, unsigned char* storage);

/// `PackedToDate` reading the 4 storage bytes directly.
int32_t LoadDateValue(const unsigned char* storage);

}  // namespace vel::values

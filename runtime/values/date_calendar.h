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

inline constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

constexpr bool IsLeapFullYear(int year) { return year % 4 == 0 && (year % 400 == 0 || year % 100 != 0); }

/// Leap days up to and including year n (n > 0).
constexpr int LeapDaysThrough(int n) { return n / 4 - n / 100 + n / 400; }

/// The serial day of a valid calendar date from 1801 to 9999 (unsigned arithmetic: the
/// divisions by constants need no sign corrections).
inline int32_t SerialOfCalendarDate(int month, int day, int year) {
  const auto y = static_cast<uint32_t>(year);
  uint32_t serial = (y - 1801) * 365 + static_cast<uint32_t>(kDaysBeforeMonth[month - 1] + day + 3) + y / 4 - y / 100 +
                    y / 400 - static_cast<uint32_t>(LeapDaysThrough(1800));
  const bool leapYear = y % 4 == 0 && (y % 400 == 0 || y % 100 != 0);
  if (month <= 2 && leapYear) --serial;
  return static_cast<int32_t>(serial);
}

/// DateToSerial for dates that may need normalising.
int32_t NormalisingDateToSerial(int month, int day, int year);

}  // namespace detail

/// Normalises month and day overflow with the real month lengths (month 14 is February of the
/// next year, 31 April is 1 May, day 60 of January 1999 is 1 March) and converts to a serial
/// date; -1 for a date outside 1801 to 9999, a month or day below 1, or 29 February of a
/// common year. A year below 100 is expanded with the default century window.
/// Inline because dates as typed or stored are nearly always plain calendar dates in range,
/// which need none of the normalisation; every month has a 28th day.
inline int32_t DateToSerial(int month, int day, int year) {
  if (year >= 1801 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 28) {
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

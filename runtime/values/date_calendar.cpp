#include "runtime/values/date_calendar.h"

#include "runtime/values/time_local.h"

namespace vel::values {
namespace {

using detail::IsLeapFullYear;
using detail::SerialOfCalendarDate;

using detail::kMonthLength;

// Days from 1 March of year 0 of the proleptic Gregorian calendar to the given date. Counting
// from March puts the leap day at the end of the counting year, which makes the inverse
// a handful of divisions instead of a walk over month lengths.
constexpr int64_t DaysFromMarchZero(int year, int month, int day) {
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t era = y / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
  const int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra;
}

static_assert(DaysFromMarchZero(1800, 12, 28) == detail::kSerialOrigin,
              "the serial origin is 28 December 1800");
static_assert(SerialOfCalendarDate(1, 1, 1801) == kFirstSerialDate && SerialOfCalendarDate(12, 31, 9999) == kLastSerialDate &&
                  SerialOfCalendarDate(2, 29, 2000) + 1 == SerialOfCalendarDate(3, 1, 2000) &&
                  SerialOfCalendarDate(2, 28, 1900) + 1 == SerialOfCalendarDate(3, 1, 1900),
              "serial days count from 1 January 1801 as day 4 through leap and common years");

}  // namespace

bool IsLeapYear(int year) {
  if (year >= 0 && year < 100) year = ExpandYear(year, kDefaultCenturyWindow);
  return IsLeapFullYear(year);
}

int DaysInMonth(int month, int year) {
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapFullYear(year)) return 29;
  return kMonthLength[month - 1];
}

int CurrentYear() {
  static const int year = ReadLocalDateTime().year;
  return year;
}

int ExpandYearFrom(int year, int window, int currentYear) {
  if (year < 0 || year >= 100) return year;
  const int low = currentYear - window;
  // Floor the low end to its century so that the arithmetic also holds for odd windows.
  int century = low / 100 * 100;
  if (low < 0 && low % 100 != 0) century -= 100;
  int result = century + year;
  if (result < low) result += 100;
  return result;
}

int ExpandYear(int year, int window) { return ExpandYearFrom(year, window, CurrentYear()); }

int32_t detail::NormalisingDateToSerial(int month, int day, int year) {
  if (year >= 0 && year < 100) year = ExpandYear(year, kDefaultCenturyWindow);
  // Overflowing months and days may carry a year before 1801 into range, so only the bounds
  // that no normalisation can repair are checked here.
  if (month < 1 || day < 1 || year < 0 || year > 9999) return -1;
  // Month overflow moves whole years at once; checking the year as it grows keeps absurd
  // day counts from looping for long. Day overflow carries with the real month lengths, so
  // the 365th day of January is 31 December of a common year. A date given as 29 February
  // of a common year is a mistake rather than a count, so it is rejected instead of silently
  // becoming 1 March.
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  if (month == 2 && day == 29 && !IsLeapFullYear(year)) return -1;
  while (year <= 9999) {
    const int length = DaysInMonth(month, year);
    if (day <= length) break;
    day -= length;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  if (year < 1801 || year > 9999 || day > DaysInMonth(month, year)) return -1;
  return SerialOfCalendarDate(month, day, year);
}

int32_t Today() {
  const LocalDateTime local = ReadLocalDateTime();
  return DateToSerial(local.month, local.day, local.year);
}

uint32_t DateToPacked(int32_t serial) {
  CalendarDate date;
  if (!SerialToDate(serial, date)) return 0;
  return static_cast<uint32_t>(date.day) | static_cast<uint32_t>(date.month) << 8 |
         static_cast<uint32_t>(date.year) << 16;
}

int32_t PackedToDate(uint32_t packed) {
  const int day = static_cast<int>(packed & 0xFF);
  const int month = static_cast<int>(packed >> 8 & 0xFF);
  const int year = static_cast<int>(packed >> 16);
  if (year > 9999) return kLastSerialDate;
  // Storage holds a calendar date as it is, so a day the month does not have is invalid
  // rather than carried into the next month.
  if (day > DaysInMonth(month, year < 100 ? ExpandYear(year, kDefaultCenturyWindow) : year)) {
    return 0;
  }
  const int32_t serial = DateToSerial(month, day, year);
  return serial < 0 ? 0 : serial;
}

void StoreDateValue(int32_t serial, unsigned char* storage) {
  const uint32_t packed = DateToPacked(serial);
  for (int i = 0; i < 4; ++i) storage[i] = static_cast<unsigned char>(packed >> (8 * i));
}

int32_t LoadDateValue(const unsigned char* storage) {
  uint32_t packed = 0;
  for (int i = 0; i < 4; ++i) packed |= static_cast<uint32_t>(storage[i]) << (8 * i);
  return PackedToDate(packed);
}

}  // namespace vel::values

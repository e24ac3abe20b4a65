#include <cstdio>

#include "runtime/values/date_calendar.h"
#include "runtime/values/evaluate_function_set.h"
#include "runtime/values/time_values.h"

namespace vel::values::functions {

namespace {

/// Splits the argument, a serial date, into its parts; false when it is not a valid date.
bool SplitDate(const ExpressionValue& argument, CalendarDate& date) {
  std::int64_t serial = ValueAsInteger(argument);
  if (serial < kFirstSerialDate || serial > kLastSerialDate) return false;
  return SerialToDate(static_cast<std::int32_t>(serial), date);
}

/// Whole months from `from` to `to` (both valid, `from` not later).
int MonthsBetween(const CalendarDate& from, const CalendarDate& to) {
  int months = (to.year - from.year) * 12 + (to.month - from.month);
  if (to.day < from.day) --months;
  return months;
}

}  // namespace

bool Date(const Arguments& a, ExpressionValue& r, std::string&) {
  auto part = [&](std::size_t i) {
    std::int64_t value = ValueAsInteger(a[i]);
    // Far outside any calendar: clamp so the calendar routine sees an int and refuses it.
    if (value > 1000000) value = 1000000;
    if (value < -1000000) value = -1000000;
    return static_cast<int>(value);
  };
  std::int32_t serial = DateToSerial(part(0), part(1), part(2));
  // A date that does not exist gives 0, the "no date" value.
  r = ExpressionValue::Integer(serial < 0 ? 0 : serial);
  return true;
}

bool Day(const Arguments& a, ExpressionValue& r, std::string&) {
  CalendarDate date;
  r = ExpressionValue::Integer(SplitDate(a[0], date) ? date.day : 0);
  return true;
}

bool Month(const Arguments& a, ExpressionValue& r, std::string&) {
  CalendarDate date;
  r = ExpressionValue::Integer(SplitDate(a[0], date) ? date.month : 0);
  return true;
}

bool Year(const Arguments& a, ExpressionValue& r, std::string&) {
  CalendarDate date;
  r = ExpressionValue::Integer(SplitDate(a[0], date) ? date.year : 0);
  return true;
}

bool TodayFunction(const Arguments&, ExpressionValue& r, std::string&) {
  r = ExpressionValue::Integer(Today());
  return true;
}

bool ClockFunction(const Arguments&, ExpressionValue& r, std::string&) {
  r = ExpressionValue::Integer(Clock());
  return true;
}

bool Age(const Arguments& a, ExpressionValue& r, std::string& problem) {
  CalendarDate birth;
  CalendarDate base;
  bool baseValid = a.size() > 1 ? SplitDate(a[1], base) : SerialToDate(Today(), base);
  if (!SplitDate(a[0], birth) || !baseValid) {
    problem = "not a date";
    return false;
  }
  std::int64_t days = (a.size() > 1 ? ValueAsInteger(a[1]) : Today()) - ValueAsInteger(a[0]);
  if (days < 0) {
    problem = "birth date after the base date";
    return false;
  }
  // Young ages read in days, then months up to two years, then years.
  char text[32];
  int months = MonthsBetween(birth, base);
  if (days < 60) {
    std::snprintf(text, sizeof text, "%d DAYS", static_cast<int>(days));
  } else if (months < 24) {
    std::snprintf(text, sizeof text, "%d MOS", months);
  } else {
    std::snprintf(text, sizeof text, "%d YRS", months / 12);
  }
  r = ExpressionValue::Text(text);
  return true;
}

}  // namespace vel::values::functions

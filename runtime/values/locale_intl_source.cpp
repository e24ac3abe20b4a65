// Where the regional settings come from: the profile's section "intl" first, else the time
// formats of the user's locale, else the defaults.

#include "runtime/values/locale_intl.h"

#include <locale.h>

#include <cctype>
#include <cstdlib>
#include <ctime>

#include "win32.h"

namespace vel::values {
namespace {

std::string PutTime(locale_t locale, const std::tm& time, const char* pattern) {
  char text[128];
  const size_t length = strftime_l(text, sizeof text, pattern, &time, locale);
  return std::string(text, length);
}

std::tm SampleTime(int hour) {
  std::tm time{};
  time.tm_year = 2001 - 1900;
  time.tm_mon = 1;  // February
  time.tm_mday = 3;
  time.tm_hour = hour;
  time.tm_min = 4;
  time.tm_sec = 5;
  time.tm_wday = 6;
  time.tm_yday = 33;
  return time;
}

}  // namespace

// Digit runs are recognised by value, everything else is kept as literal text.
std::string DeriveShortDateFormat(const std::string& sample) {
  std::string format;
  size_t at = 0;
  int fields = 0;
  while (at < sample.size()) {
    const unsigned char c = static_cast<unsigned char>(sample[at]);
    if (!std::isdigit(c)) {
      if (std::isalpha(c)) return {};  // month names are not a short date layout
      format += sample[at++];
      continue;
    }
    size_t end = at;
    while (end < sample.size() && std::isdigit(static_cast<unsigned char>(sample[end]))) ++end;
    const std::string digits = sample.substr(at, end - at);
    if (digits == "2001") format += "yyyy";
    else if (digits == "01") format += "yy";
    else if (digits == "02") format += "MM";
    else if (digits == "2") format += "M";
    else if (digits == "03") format += "dd";
    else if (digits == "3") format += "d";
    else return {};
    ++fields;
    at = end;
  }
  return fields == 3 ? format : std::string{};
}

namespace {

// Only the locale's time category is loaded: the whole locale (character classes, collation,
// messages and the rest) would cost every start several files.
void ReadFromLibraryLocale(IntlSettings& intl) {
  locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return;  // an unusable locale setting leaves the defaults
  const std::string shortDate = DeriveShortDateFormat(PutTime(locale, SampleTime(13), "%x"));
  if (!shortDate.empty()) intl.sShortDate = shortDate;
  const std::string am = PutTime(locale, SampleTime(1), "%p");
  const std::string pm = PutTime(locale, SampleTime(13), "%p");
  const std::string afternoon = PutTime(locale, SampleTime(13), "%X");
  const std::string morning = PutTime(locale, SampleTime(3), "%X");
  if (afternoon.size() >= 3 && std::isdigit(static_cast<unsigned char>(afternoon[0]))) {
    const bool twentyFourHour = afternoon.compare(0, 2, "13") == 0;
    intl.iTime = twentyFourHour ? 1 : 0;
    const size_t separatorAt = afternoon.find_first_not_of("0123456789");
    if (separatorAt != std::string::npos && separatorAt + 1 < afternoon.size()) {
      intl.sTime = afternoon[separatorAt];
    }
    intl.iTLzero = morning.compare(0, 2, "03") == 0 ? 1 : 0;
  }
  if (!am.empty() && !pm.empty()) {
    intl.s1159 = am;
    intl.s2359 = pm;
  }
  freelocale(locale);
}

// Reads one key of the profile's section "intl"; false when the key is absent or empty.
bool ReadProfileKey(const char* key, std::string& value) {
  char buffer[128];
  const DWORD length = GetProfileStringA("intl", key, "", buffer, sizeof buffer);
  if (length == 0) return false;
  value.assign(buffer, length);
  return true;
}

void ReadFromProfile(IntlSettings& intl) {
  std::string value;
  if (ReadProfileKey("iTime", value)) intl.iTime = std::atoi(value.c_str()) != 0 ? 1 : 0;
  if (ReadProfileKey("iTLzero", value)) intl.iTLzero = std::atoi(value.c_str()) != 0 ? 1 : 0;
  if (ReadProfileKey("sTime", value)) intl.sTime = value[0];
  if (ReadProfileKey("s1159", value)) intl.s1159 = value;
  if (ReadProfileKey("s2359", value)) intl.s2359 = value;
  if (ReadProfileKey("sShortDate", value)) intl.sShortDate = value;
  if (ReadProfileKey("sLongDate", value)) intl.sLongDate = value;
}

}  // namespace

IntlSettings ReadIntlSettings() {
  IntlSettings intl;
  // The library's locale stands in for what the system would say; keys the profile holds
  // take precedence one by one.
  ReadFromLibraryLocale(intl);
  ReadFromProfile(intl);
  return intl;
}

}  // namespace vel::values

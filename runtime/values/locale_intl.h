#pragma once
// The regional settings of section "intl" and the four date and time layouts built from them.

#include <string>

#include "runtime/values/picture_record.h"

namespace vel::values {

struct LocaleSettings;

/// The regional settings the runtime reads, with their defaults.
struct IntlSettings {
  int iTime = 0;     ///< 0: 12-hour clock, 1: 24-hour clock.
  int iTLzero = 1;   ///< 1: leading zero on hours.
  char sTime = ':';  ///< Time separator.
  std::string s1159 = "AM";
  std::string s2359 = "PM";
  std::string sShortDate = "MM/dd/yy";
  std::string sLongDate = "ddd', 'MMMM' 'dd', 'yyyy";
};

/// Builds the short (`@T7`) or long (`@T8`) time layout.
void BuildTimeLayout(const IntlSettings& intl, bool withSeconds, CompiledPicture& picture);

/// Builds the short date layout (`@D17`) from a short date format such as "MM/dd/yy".
void BuildShortDateLayout(const std::string& format, CompiledPicture& picture);

/// Builds the long date layout (`@D18`) from a long date format such as
/// "ddd', 'MMMM' 'dd', 'yyyy".
void BuildLongDateLayout(const std::string& format, CompiledPicture& picture);

/// Stores the Windows AM and PM texts and builds all four layouts into `settings`.
void ApplyIntlSettings(const IntlSettings& intl, LocaleSettings& settings);

/// Turns a rendering of 3 February 2001 (as a locale writes its short date) back into a
/// short date format such as "dd.MM.yyyy"; empty when the rendering is not made of the three
/// numbers and literal text.
std::string DeriveShortDateFormat(const std::string& sample);

/// Reads the regional settings: the profile's section "intl" when it holds them, else what
/// the C++ library's current locale tells about its time and date layout, else the defaults.
IntlSettings ReadIntlSettings();

}  // namespace vel::values

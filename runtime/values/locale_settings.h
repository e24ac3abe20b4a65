#pragma once
// The program's locale state: month names, AM/PM texts, the date and time layouts built from
// the regional settings, flags and text overrides from the environment file.

#include <string>
#include <vector>

#include "runtime/values/picture_record.h"

namespace vel::values {

/// Longest month name and AM/PM text kept.
inline constexpr int kMonthNameLength = 12;
inline constexpr int kAmPmLength = 2;

/// First override number of the button texts.
inline constexpr int kButtonOverrideBase = 32512;

/// One message or button text override.
struct TextOverride {
  int number = 0;
  std::string text;
};

/// One set for the whole program; filled at start-up and read-only afterwards.
struct LocaleSettings {
  std::string monthNames[12];
  std::string monthAbbreviations[12];
  std::string amText;
  std::string pmText;
  std::string windowsAmText;
  std::string windowsPmText;
  bool oemCharset = false;
  bool longFileNames = false;
  CompiledPicture shortDate;  ///< `@D17`
  CompiledPicture longDate;   ///< `@D18`
  CompiledPicture shortTime;  ///< `@T7`
  CompiledPicture longTime;   ///< `@T8`
  std::vector<TextOverride> overrides;  ///< Newest first.
};

/// The program's locale state. The first call fills it with the built-in values and the
/// layouts of the default regional settings.
LocaleSettings& Locale();

/// Restores every built-in value (month names, texts, flags, layouts) and drops overrides.
void ResetLocaleSettings(LocaleSettings& settings);

/// Records an override, replacing an earlier text for the same number.
void SetTextOverride(LocaleSettings& settings, int number, std::string text);

/// The override text for a runtime message or button number, or nullptr.
const char* MessageOverride(int number);

}  // namespace vel::values

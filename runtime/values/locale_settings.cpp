#include "runtime/values/locale_settings.h"

#include <algorithm>
#include <utility>

#include "runtime/values/locale_intl.h"

namespace vel::values {
namespace {

constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};

}  // namespace

void ResetLocaleSettings(LocaleSettings& settings) {
  for (int i = 0; i < 12; ++i) {
    settings.monthNames[i] = kMonthNames[i];
    settings.monthAbbreviations[i] = std::string(kMonthNames[i], 3);
  }
  settings.amText = "AM";
  settings.pmText = "PM";
  settings.windowsAmText = "AM";
  settings.windowsPmText = "PM";
  settings.oemCharset = false;
  settings.longFileNames = false;
  settings.overrides.clear();
  ApplyIntlSettings(IntlSettings{}, settings);
}

LocaleSettings& Locale() {
  static LocaleSettings settings = [] {
    LocaleSettings initial;
    ResetLocaleSettings(initial);
    return initial;
  }();
  return settings;
}

void SetTextOverride(LocaleSettings& settings, int number, std::string text) {
  auto& list = settings.overrides;
  list.erase(std::remove_if(list.begin(), list.end(),
                            [number](const TextOverride& entry) { return entry.number == number; }),
             list.end());
  list.insert(list.begin(), TextOverride{number, std::move(text)});
}

const char* MessageOverride(int number) {
  for (const TextOverride& entry : Locale().overrides) {
    if (entry.number == number) return entry.text.c_str();
  }
  return nullptr;
}

}  // namespace vel::values

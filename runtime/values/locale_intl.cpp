#include "runtime/values/locale_intl.h"

#include "runtime/values/locale_settings.h"
#include "runtime/values/picture_builder.h"

namespace vel::values {
namespace {

void StartLayout(CompiledPicture& picture, PictureClass pictureClass, int number) {
  picture = CompiledPicture{};
  picture.SetClass(pictureClass, PictureValueKind::DateOrTime);
  picture.pictureNumber = static_cast<uint8_t>(number);
  picture.centuryWindow = 80;
}

bool IsDatePartLetter(char c) { return c == 'd' || c == 'M' || c == 'y'; }

size_t RunLength(const std::string& text, size_t at) {
  size_t end = at;
  while (end < text.size() && text[end] == text[at]) ++end;
  return end - at;
}

// Appends the literal text starting at `at` as separator positions, up to the next part
// letter outside quotes; returns the index after it.
size_t AddLiteralText(const std::string& format, size_t at, PictureBuilder& builder) {
  bool quoted = false;
  while (at < format.size()) {
    const char c = format[at];
    if (c == '\'') {
      quoted = !quoted;
      ++at;
      continue;
    }
    if (!quoted && IsDatePartLetter(c)) break;
    builder.Add(static_cast<uint8_t>(c), kDateTimeSeparator);
    ++at;
  }
  return at;
}

}  // namespace

void BuildTimeLayout(const IntlSettings& intl, bool withSeconds, CompiledPicture& picture) {
  StartLayout(picture, PictureClass::Time, withSeconds ? 8 : 7);
  PictureBuilder builder(picture);
  builder.AddField(kHourDigit, 2, intl.iTLzero == 1 ? '0' : ' ');
  builder.Add(static_cast<uint8_t>(intl.sTime), kDateTimeSeparator);
  builder.AddField(kMinuteDigit, 2, '0');
  if (withSeconds) {
    builder.Add(static_cast<uint8_t>(intl.sTime), kDateTimeSeparator);
    builder.AddField(kSecondDigit, 2, '0');
  }
  if (intl.iTime == 0) {
    builder.Add(' ', kLiteral);
    builder.Add('A', kAmPm);
    builder.Add('M', kLiteral);
  }
  picture.SetWidth(builder.Count());
}

void BuildShortDateLayout(const std::string& format, CompiledPicture& picture) {
  StartLayout(picture, PictureClass::Date, 17);
  // The order of the parts is the order in which their letters first appear.
  char order[3] = {};
  int parts = 0;
  for (char c : format) {
    if (!IsDatePartLetter(c)) continue;
    bool seen = false;
    for (int i = 0; i < parts; ++i) seen = seen || order[i] == c;
    if (!seen && parts < 3) order[parts++] = c;
  }
  for (char c : {'M', 'd', 'y'}) {
    bool seen = false;
    for (int i = 0; i < parts; ++i) seen = seen || order[i] == c;
    if (!seen && parts < 3) order[parts++] = c;
  }
  const size_t lastMonth = format.rfind('M');
  char separator = '/';
  if (lastMonth != std::string::npos && lastMonth + 1 < format.size() &&
      !IsDatePartLetter(format[lastMonth + 1])) {
    separator = format[lastMonth + 1];
  }
  PictureBuilder builder(picture);
  for (int i = 0; i < 3; ++i) {
    const size_t at = format.find(order[i]);
    const size_t letters = at == std::string::npos ? 2 : RunLength(format, at);
    const uint8_t leadFill = letters >= 2 ? '0' : ' ';
    if (order[i] == 'y') {
      builder.AddField(kYearDigit, letters >= 3 ? 4 : 2, '0');
    } else {
      builder.AddField(order[i] == 'M' ? kMonthDigit : kDayDigit, 2, leadFill);
    }
    if (i < 2) builder.Add(static_cast<uint8_t>(separator), kDateTimeSeparator);
  }
  picture.SetWidth(builder.Count());
}

void BuildLongDateLayout(const std::string& format, CompiledPicture& picture) {
  StartLayout(picture, PictureClass::Date, 18);
  PictureBuilder builder(picture);
  size_t at = 0;
  // A leading day of the week ("ddd" or "dddd") is not shown, nor anything before the first
  // part letter; quoted text is skipped as a whole.
  if (format.compare(0, 3, "ddd") == 0) at += RunLength(format, 0);
  bool quoted = false;
  while (at < format.size() && (quoted || !IsDatePartLetter(format[at]))) {
    if (format[at] == '\'') quoted = !quoted;
    ++at;
  }
  while (at < format.size() && !builder.Overflowed()) {
    const char letter = format[at];
    const size_t letters = RunLength(format, at);
    at += letters;
    if (letter == 'y') {
      builder.AddField(kYearDigit, static_cast<int>(letters > 4 ? 4 : letters), '0');
      if (letters == 1) builder.AddField(kYearDigit, 1, '0');
    } else if (letter == 'd') {
      builder.AddField(kDayDigit, 2, letters >= 2 ? '0' : ' ');
    } else if (letters >= 3) {
      for (size_t i = 0; i < (letters == 3 ? 3u : 9u); ++i) builder.Add(' ', kMonthNameLetter);
    } else {
      builder.AddField(kMonthDigit, 2, letters == 2 ? '0' : ' ');
    }
    at = AddLiteralText(format, at, builder);
  }
  picture.SetWidth(builder.Count());
}

void ApplyIntlSettings(const IntlSettings& intl, LocaleSettings& settings) {
  settings.windowsAmText = intl.s1159.substr(0, kAmPmLength);
  settings.windowsPmText = intl.s2359.substr(0, kAmPmLength);
  BuildTimeLayout(intl, false, settings.shortTime);
  BuildTimeLayout(intl, true, settings.longTime);
  BuildShortDateLayout(intl.sShortDate, settings.shortDate);
  BuildLongDateLayout(intl.sLongDate, settings.longDate);
}

}  // namespace vel::values

#include "runtime/values/picture_format.h"

#include <cmath>

#include "runtime/values/char_tables.h"
#include "runtime/values/date_calendar.h"
#include "runtime/values/decimal_float.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/locale_settings.h"
#include "runtime/values/number_text.h"
#include "runtime/values/picture_format_internal.h"
#include "runtime/values/picture_layouts.h"
#include "runtime/values/time_values.h"

namespace vel::values {
namespace {

using detail::Deliver;
using detail::kMaxPictureWidth;

// Writes `value` right-aligned into the run of positions [first, last]: leading zeros show
// the position's fill ("0" pads, a blank suppresses), the last position always shows a digit.
// "00" to "99", so that a field takes its digits two at a time.
constexpr char kTwoDigits[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546"
    "4748495051525354555657585960616263646566676869707172737475767778798081828384858687888990919293"
    "949596979899";

void PutField(const CompiledPicture& picture, int first, int last, int value, char* block) {
  unsigned rest = value < 0 ? 0u : static_cast<unsigned>(value);
  int i = last;
  for (; i > first; i -= 2) {
    std::memcpy(block + i - 1, kTwoDigits + 2 * (rest % 100), 2);
    rest /= 100;
  }
  if (i == first) block[i] = static_cast<char>('0' + rest % 10);
  // Leading zeros show the position's fill; the last position always shows its digit.
  for (i = first; i < last && block[i] == '0'; ++i) {
    block[i] = static_cast<char>(picture.positions[i].fill);
  }
}

void LayOutLiteral(const PicturePosition& position, char& c) {
  switch (position.code) {
    case kLiteral:
    case kDateTimeSeparator:
    case kCurrency:
    case kDecimalSeparator:
    case kGroupSeparator:
      c = static_cast<char>(position.fill);
      break;
    default:
      break;
  }
}

// The last `digits` digits of a year: two-digit years show the year modulo 100.
int YearDigits(int year, int digits) {
  if (digits >= 4) return year;
  if (digits == 3) return year % 1000;
  if (digits == 2) return year % 100;
  return year % 10;
}

// Month names go in their own pass: they are rare, and the common numeric layouts then need
// no locale at all.
void LayOutMonthNames(const CompiledPicture& picture, int month, char* block) {
  const bool keepCase = DateLayoutKeepsNameCase(picture.pictureNumber);
  const std::string& name = Locale().monthNames[month - 1];
  for (int i = 0; i < picture.Width();) {
    if (picture.positions[i].code != kMonthNameLetter) {
      ++i;
      continue;
    }
    const int last = picture.RunEnd(i);
    for (int k = 0; k <= last - i; ++k) {
      char c = static_cast<char>(picture.positions[i + k].fill);
      if (static_cast<size_t>(k) < name.size()) {
        c = keepCase ? name[k] : static_cast<char>(ToUpperChar(static_cast<uint8_t>(name[k])));
      }
      block[i + k] = c;
    }
    i = last + 1;
  }
}

int DigitCount(int value) { return value >= 1000 ? 4 : value >= 100 ? 3 : value >= 10 ? 2 : 1; }

void LayOutDate(const CompiledPicture& picture, int32_t serial, char* block) {
  CalendarDate date;
  if (!SerialToDate(serial, date)) return;  // an invalid date leaves the block blank
  // The three numbers as right-aligned text, read from the right while walking the positions
  // from the right: the r-th position of a run from the right shows the r-th digit, and
  // positions left of the value's own digits show their fill.
  char text[3][4];
  std::memcpy(text[0] + 2, kTwoDigits + 2 * date.month, 2);
  std::memcpy(text[1] + 2, kTwoDigits + 2 * date.day, 2);
  std::memcpy(text[2], kTwoDigits + 2 * (date.year / 100), 2);
  std::memcpy(text[2] + 2, kTwoDigits + 2 * (date.year % 100), 2);
  const int significant[2] = {date.month >= 10 ? 2 : 1, date.day >= 10 ? 2 : 1};
  const PicturePosition* positions = picture.positions;
  // Stores through `block` may alias the picture, so the width is read once.
  const int width = picture.Width();
  const char* digits = text[0];  // the current run's right-aligned text
  int next = 0;                  // index of the next digit, read leftwards
  int lowest = 0;                // index of the run's most significant digit
  unsigned previousField = 3;
  bool names = false;
  for (int i = width - 1; i >= 0; --i) {
    const uint8_t code = positions[i].code;
    const unsigned field = static_cast<unsigned>(code - kMonthDigit);
    if (field < 3) {
      if (field != previousField) {
        int runDigits;
        if (field < 2) {
          runDigits = significant[field];
        } else {
          // A year run shows as many of the year's last digits as it has positions.
          int first = i;
          while (first > 0 && positions[first - 1].code == code) --first;
          runDigits = DigitCount(YearDigits(date.year, i - first + 1));
        }
        digits = text[field];
        next = 3;
        lowest = 4 - runDigits;
      }
      block[i] = next >= lowest ? digits[next] : static_cast<char>(positions[i].fill);
      --next;
    } else if (code == kMonthNameLetter) {
      names = true;
    } else {
      LayOutLiteral(positions[i], block[i]);
    }
    previousField = field;
  }
  if (names) LayOutMonthNames(picture, date.month, block);
}

// Writes the significant digits of `value` right-aligned into a field's run; positions left of
// them keep the fill the template gave them.
void PutTemplateField(const PositionRun& run, int value, char* block) {
  char* last = block + run.first + run.count - 1;
  if (run.count == 2 && value < 100) {
    if (value >= 10) {
      std::memcpy(last - 1, kTwoDigits + 2 * value, 2);
    } else {
      *last = static_cast<char>('0' + value);
    }
    return;
  }
  if (run.count == 4 && value >= 1000 && value < 10000) {
    std::memcpy(last - 3, kTwoDigits + 2 * (value / 100), 2);
    std::memcpy(last - 1, kTwoDigits + 2 * (value % 100), 2);
    return;
  }
  for (int shown = 0; shown < run.count; ++shown) {
    *last-- = static_cast<char>('0' + value % 10);
    value /= 10;
    if (value == 0) break;
  }
}

// A date through the picture's template: the literals and every position's fill are in place,
// so only the digits the date shows are written. Everything goes straight to the block as
// stores; assembling the text elsewhere and copying it would reload bytes just stored.
void FillDateTemplate(const CompiledPicture& picture, const CalendarDate& date, char* block) {
  const int width = picture.Width();
  if (width >= 8) {
    std::memcpy(block, picture.dateTemplate, 8);
    std::memcpy(block + width - 8, picture.dateTemplate + width - 8, 8);
  } else {
    for (int i = 0; i < width; ++i) block[i] = picture.dateTemplate[i];
  }
  const PositionRun* fields = picture.dateFields;
  if (fields[0].count != 0) PutTemplateField(fields[0], date.month, block);
  if (fields[1].count != 0) PutTemplateField(fields[1], date.day, block);
  if (fields[2].count != 0) PutTemplateField(fields[2], YearDigits(date.year, fields[2].count), block);
}

void LayOutTime(const CompiledPicture& picture, int32_t time, char* block) {
  TimeParts parts;
  TimeToParts(time, parts);
  if (picture.BlankWhenZero() && parts.hours == 0 && parts.minutes == 0 && parts.seconds == 0) {
    return;
  }
  bool twelveHour = false;
  for (int i = 0; i < picture.Width(); ++i) twelveHour = twelveHour || picture.positions[i].code == kAmPm;
  int hour = parts.hours;
  if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
  const LocaleSettings& locale = Locale();
  const bool windowsTexts = TimeLayoutUsesWindowsAmPm(picture.pictureNumber);
  const std::string& am = windowsTexts ? locale.windowsAmText : locale.amText;
  const std::string& pm = windowsTexts ? locale.windowsPmText : locale.pmText;
  const std::string& marker = parts.hours >= 12 ? pm : am;
  for (int i = 0; i < picture.Width();) {
    const PicturePosition& position = picture.positions[i];
    int last = picture.RunEnd(i);
    switch (position.code) {
      case kHourDigit:
        PutField(picture, i, last, hour, block);
        break;
      case kMinuteDigit:
        PutField(picture, i, last, parts.minutes, block);
        break;
      case kSecondDigit:
        PutField(picture, i, last, parts.seconds, block);
        break;
      case kAmPm:
        last = i;
        block[i] = marker.empty() ? ' ' : marker[0];
        // The position after the marker shows its second character, if any.
        if (i + 1 < picture.Width()) {
          block[i + 1] = marker.size() > 1 ? marker[1] : ' ';
          last = i + 1;
        }
        break;
      default:
        for (int k = i; k <= last; ++k) LayOutLiteral(picture.positions[k], block[k]);
        break;
    }
    i = last + 1;
  }
}

void CopyText(const char* text, size_t length, int width, char* block) {
  const size_t count = length < static_cast<size_t>(width) ? length : static_cast<size_t>(width);
  if (count > 0) std::memcpy(block, text, count);
}

}  // namespace

double TextToReal(const char* text, size_t length) {
  return ParseReal(text, length < kMaxRealInput ? length : kMaxRealInput);
}

size_t FormatDate(const CompiledPicture& picture, int32_t serial, char* out, size_t capacity) {
  if (picture.Class() != PictureClass::Date) return FormatNumber(picture, serial, out, capacity);
  if (picture.dateRunCount > 0) {
    detail::OutputBlock block(picture.Width(), out, capacity, false);
    CalendarDate date;
    if ((picture.BlankWhenZero() && serial == 0) || !SerialToDate(serial, date)) {
      detail::FillBlanks(block.Data(), static_cast<size_t>(picture.Width()));
    } else {
      FillDateTemplate(picture, date, block.Data());
    }
    return block.Deliver();
  }
  detail::OutputBlock block(picture.Width(), out, capacity);
  if (!(picture.BlankWhenZero() && serial == 0)) LayOutDate(picture, serial, block.Data());
  return block.Deliver();
}

size_t FormatTime(const CompiledPicture& picture, int32_t time, char* out, size_t capacity) {
  if (picture.Class() != PictureClass::Time) return FormatNumber(picture, time, out, capacity);
  detail::OutputBlock block(picture.Width(), out, capacity);
  LayOutTime(picture, time, block.Data());
  return block.Deliver();
}

size_t FormatNumber(const CompiledPicture& picture, double value, char* out, size_t capacity) {
  if (!picture.IsValid()) return 0;
  // Dates and times take the whole days or hundredths; only they pay for the truncation.
  auto truncated = [value] {
    return std::isfinite(value) && std::fabs(value) < 2147483647.0 ? static_cast<int32_t>(std::trunc(value)) : 0;
  };
  switch (picture.Class()) {
    case PictureClass::Date:
      return FormatDate(picture, truncated(), out, capacity);
    case PictureClass::Time:
      return FormatTime(picture, truncated(), out, capacity);
    case PictureClass::Scientific: {
      char block[kMaxPictureWidth];
      std::memset(block, ' ', sizeof block);
      if (!(picture.BlankWhenZero() && value == 0)) detail::LayOutScientific(picture, value, block);
      return Deliver(block, picture.Width(), out, capacity);
    }
    default:
      return FormatDecimal(picture, DecimalFromFloat64(value), out, capacity);
  }
}

size_t FormatWithPicture(const CompiledPicture& picture, const char* text, size_t length,
                         char* out, size_t capacity) {
  if (!picture.IsValid()) return 0;
  switch (picture.Class()) {
    case PictureClass::String:
    case PictureClass::KeyIn: {
      char block[kMaxPictureWidth];
      std::memset(block, ' ', sizeof block);
      CopyText(text, length, picture.Width(), block);
      return Deliver(block, picture.Width(), out, capacity);
    }
    case PictureClass::Numeric:
    case PictureClass::Pattern:
      return FormatDecimal(picture, DecimalFromText(text, length), out, capacity);
    default:
      return FormatNumber(picture, TextToReal(text, length), out, capacity);
  }
}

}  // namespace vel::values

#include "runtime/values/picture_layouts.h"

#include "runtime/values/locale_settings.h"

namespace vel::values {
namespace {

void Separator(PictureBuilder& builder, char c) {
  builder.Add(static_cast<uint8_t>(c), kDateTimeSeparator);
}

void Year(PictureBuilder& builder, int digits) { builder.AddField(kYearDigit, digits, '0'); }

void MonthName(PictureBuilder& builder, int letters) {
  for (int i = 0; i < letters; ++i) builder.Add(' ', kMonthNameLetter);
}

void CopyLayout(const CompiledPicture& layout, PictureBuilder& builder) {
  for (int i = 0; i < layout.Width(); ++i) {
    builder.Add(layout.positions[i].fill, layout.positions[i].code);
  }
}

}  // namespace

bool BuildDateLayout(int number, PictureBuilder& b) {
  switch (number) {
    case 1:
    case 2:
      b.AddField(kMonthDigit, 2, ' ');
      Separator(b, '/');
      b.AddField(kDayDigit, 2, '0');
      Separator(b, '/');
      Year(b, number == 1 ? 2 : 4);
      return true;
    case 3:
      MonthName(b, 3);
      b.Add(' ', kLiteral);
      b.AddField(kDayDigit, 2, ' ');
      Separator(b, ',');
      Year(b, 4);
      return true;
    case 4:
      MonthName(b, 12);
      b.Add(' ', kLiteral);
      b.AddField(kDayDigit, 2, ' ');
      Separator(b, ',');
      b.Add(' ', kLiteral);
      Year(b, 4);
      return true;
    case 5:
    case 6:
      b.AddField(kDayDigit, 2, ' ');
      Separator(b, '/');
      b.AddField(kMonthDigit, 2, '0');
      Separator(b, '/');
      Year(b, number == 5 ? 2 : 4);
      return true;
    case 7:
    case 8:
      b.AddField(kDayDigit, 2, ' ');
      Separator(b, ' ');
      MonthName(b, 3);
      Separator(b, ' ');
      Year(b, number == 7 ? 2 : 4);
      return true;
    case 9:
    case 10:
      Year(b, number == 9 ? 2 : 4);
      Separator(b, '/');
      b.AddField(kMonthDigit, 2, '0');
      Separator(b, '/');
      b.AddField(kDayDigit, 2, '0');
      return true;
    case 11:
    case 12:
      Year(b, number == 11 ? 2 : 4);
      b.AddField(kMonthDigit, 2, '0');
      b.AddField(kDayDigit, 2, '0');
      return true;
    case 13:
    case 14:
      b.AddField(kMonthDigit, 2, '0');
      Separator(b, '/');
      Year(b, number == 13 ? 2 : 4);
      return true;
    case 15:
    case 16:
      Year(b, number == 15 ? 2 : 4);
      Separator(b, '/');
      b.AddField(kMonthDigit, 2, '0');
      return true;
    case 17:
      CopyLayout(Locale().shortDate, b);
      return true;
    case 18:
      CopyLayout(Locale().longDate, b);
      return true;
    default:
      return false;
  }
}

bool BuildTimeLayout(int number, PictureBuilder& b) {
  switch (number) {
    case 7:
      CopyLayout(Locale().shortTime, b);
      return true;
    case 8:
      CopyLayout(Locale().longTime, b);
      return true;
    default:
      break;
  }
  if (number < 1 || number > 6) return false;
  const bool withSeparators = number == 1 || number == 3 || number == 4 || number == 6;
  const bool withSeconds = number >= 4;
  const bool withAmPm = number == 3 || number == 6;
  b.AddField(kHourDigit, 2, ' ');
  if (withSeparators) Separator(b, ':');
  b.AddField(kMinuteDigit, 2, '0');
  if (withSeconds) {
    if (withSeparators) Separator(b, ':');
    b.AddField(kSecondDigit, 2, '0');
  }
  if (withAmPm) {
    b.Add('A', kAmPm);
    b.Add('M', kLiteral);
  }
  return true;
}

}  // namespace vel::values

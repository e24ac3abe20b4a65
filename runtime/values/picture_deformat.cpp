#include "runtime/values/picture_deformat.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/values/char_compare.h"
#include "runtime/values/date_calendar.h"
#include "runtime/values/locale_settings.h"
#include "runtime/values/picture_layouts.h"
#include "runtime/values/time_values.h"

namespace vel::values {
namespace {

// Collects result characters into the caller's buffer without ever writing past it.
class ResultWriter {
 public:
  ResultWriter(char* out, size_t capacity) : m_out(out), m_capacity(capacity) {}
  void Put(char c) {
    if (m_length < m_capacity) m_out[m_length] = c;
    ++m_length;
  }
  size_t Length() const { return m_length < m_capacity ? m_length : m_capacity; }

 private:
  char* m_out;
  size_t m_capacity;
  size_t m_length = 0;
};

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// What a separator or literal position accepts: a blank or punctuation, never a digit or a
// letter that belongs to the next field.
bool IsPunctuation(char c) {
  const auto byte = static_cast<uint8_t>(c);
  return byte < 128 && !IsDigitChar(c) && !((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z') && !IsAlnumChar(byte);
}
// Typed dates and times are read with a cursor of their own, so that a field typed shorter
// than its positions ("7/4/1999" against " 7/04/1999") still lines up with the next field.
class FieldReader {
 public:
  FieldReader(const char* text, size_t length) : m_text(text), m_length(length) {}

  void SkipBlanks() {
    while (m_at < m_length && m_text[m_at] == ' ') ++m_at;
  }
  // Reads up to `maxDigits` consecutive digits; -1 when none stands at the cursor.
  int ReadNumber(int maxDigits) {
    SkipBlanks();
    int value = -1;
    for (int i = 0; i < maxDigits && m_at < m_length && IsDigitChar(m_text[m_at]); ++i) {
      value = (value < 0 ? 0 : value * 10) + (m_text[m_at++] - '0');
    }
    return value;
  }
  // A separator or literal position takes one punctuation character or blank, never a digit
  // or letter that belongs to the next field.
  void SkipSeparator() {
    if (m_at < m_length && IsPunctuation(m_text[m_at])) ++m_at;
  }
  // Skips the rest of a typed month name.
  void SkipWord() {
    while (m_at < m_length && !IsPunctuation(m_text[m_at]) && !IsDigitChar(m_text[m_at])) ++m_at;
  }
  const char* Here() const { return m_text + m_at; }
  size_t Remaining() const { return m_length - m_at; }
  void Advance(size_t count) { m_at += count < Remaining() ? count : Remaining(); }

 private:
  const char* m_text;
  size_t m_length;
  size_t m_at = 0;
};

bool IsDateFieldCode(uint8_t code) { return static_cast<unsigned>(code - kMonthDigit) < 3; }

// Reads one field of a date typed in its picture's shape at the field's own positions: digits,
// after leading blanks only where the cursor would have skipped them (at the start or after a
// separator) and then followed by no digit, since after blanks the cursor takes as many digits
// as the field has positions. False for any other text. A field the picture lacks reads as 0.
inline bool ReadFieldInPlace(const CompiledPicture& picture, const PositionRun& run, const char* text, size_t length,
                             int& value) {
  value = 0;
  if (run.count == 0) return true;
  const char* start = text + run.first;
  const char* end = start + run.count;
  const char* at = start;
  if (run.first == 0 || !IsDateFieldCode(picture.positions[run.first - 1].code)) {
    while (at < end - 1 && *at == ' ') ++at;
  }
  const bool blanksSkipped = at != start;
  // Summed in a local: through the reference, every digit would wait for the store of the last.
  int number = 0;
  for (; at < end; ++at) {
    const auto digit = static_cast<unsigned>(*at - '0');
    if (digit > 9) return false;
    number = number * 10 + static_cast<int>(digit);
  }
  value = number;
  return !(blanksSkipped && at < text + length && IsDigitChar(*at));
}

// Reads the fields of a date typed exactly in its picture's shape, each at its own positions,
// with punctuation at every separator position. Such text reads the same as through the
// cursor, without one. False for any other text, which then takes the cursor.
bool ReadTemplateDate(const CompiledPicture& picture, const char* text, size_t length, int& month, int& day, int& year) {
  if (length < static_cast<size_t>(picture.Width())) return false;
  for (int r = 0; r < picture.dateRunCount; ++r) {
    const PositionRun& run = picture.dateRuns[r];
    if (IsDateFieldCode(run.code)) continue;
    for (const char* at = text + run.first; at < text + run.first + run.count; ++at) {
      if (!IsPunctuation(*at)) return false;
    }
  }
  return ReadFieldInPlace(picture, picture.dateFields[0], text, length, month) &&
         ReadFieldInPlace(picture, picture.dateFields[1], text, length, day) &&
         ReadFieldInPlace(picture, picture.dateFields[2], text, length, year);
}

// Reads a typed month name at the cursor: its first three characters against the twelve
// abbreviations (13 when none matches), then skips the rest of the word.
int MonthFromAbbreviation(FieldReader& reader) {
  int month = 13;
  if (reader.Remaining() >= 3) {
    const LocaleSettings& locale = Locale();
    for (int m = 0; m < 12; ++m) {
      const std::string& abbreviation = locale.monthAbbreviations[m];
      if (abbreviation.size() == 3 && CompareBytesNoCase(reader.Here(), abbreviation.data(), 3) == 0) {
        month = m + 1;
        break;
      }
    }
  }
  reader.Advance(3);
  reader.SkipWord();
  return month;
}

size_t PutNumber(int32_t number, char* out, size_t capacity) {
  char text[16];
  const int length = std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
  ResultWriter writer(out, capacity);
  for (int i = 0; i < length; ++i) writer.Put(text[i]);
  return writer.Length();
}

size_t DeformatPositions(const CompiledPicture& picture, const char* text, size_t length,
                         char* out, size_t capacity) {
  const bool signedResult = picture.Class() != PictureClass::KeyIn;
  // The result is built whole (it never exceeds two bytes per position), with one leading
  // byte kept free for the sign, which is only known at the end; then it is cut to capacity.
  char whole[2 * kMaxPicturePositions + 2];
  ResultWriter writer(whole, sizeof whole);
  if (signedResult) writer.Put('-');
  bool negative = false;
  const size_t count = length < static_cast<size_t>(picture.Width()) ? length : picture.Width();
  for (size_t i = 0; i < count; ++i) {
    const char c = text[i];
    const PicturePosition& position = picture.positions[i];
    switch (position.code) {
      case kDigitShown:
      case kDigitBlankable:
      case kImpliedDecimal:
      case kGroupSeparator:
      case kSign:
        if (c == '-' || c == '(') {
          negative = true;
        } else if (c == '+') {
          negative = false;
        } else if (IsDigitChar(c)) {
          writer.Put(c);
        } else if (c == ' ' && position.code == kDigitBlankable) {
          writer.Put('0');
        }
        if (position.code == kImpliedDecimal) writer.Put('.');
        break;
      case kDecimalSeparator:
        writer.Put('.');
        break;
      case kExponentSign:
        writer.Put('e');
        writer.Put(c == '-' ? '-' : '+');
        break;
      case kKeyInLetter:
      case kKeyInUpper:
      case kKeyInLower:
      case kKeyInAny:
      case kKeyInOptionalEnd:
        writer.Put(c);
        break;
      default:
        break;  // literals, currency and separators
    }
  }
  const char* result = whole;
  size_t written = writer.Length();
  if (signedResult && !negative) {
    ++result;  // drop the reserved sign byte
    --written;
  }
  const size_t delivered = written < capacity ? written : capacity;
  if (delivered > 0) std::memcpy(out, result, delivered);
  return delivered;
}

}  // namespace

size_t DeformatPlainNumber(const char* text, size_t length, size_t limit, char* out,
                           size_t capacity) {
  ResultWriter writer(out, capacity);
  bool point = false;
  bool exponent = false;
  char previous = '\0';
  bool kept = false;
  const size_t count = length < limit ? length : limit;
  for (size_t i = 0; i < count; ++i) {
    const char c = text[i];
    bool keep = IsDigitChar(c);
    if (c == '.' && !point) keep = point = true;
    if ((c == 'e' || c == 'E') && !exponent) keep = exponent = true;
    if (c == '-' && (!kept || previous == 'e' || previous == 'E')) keep = true;
    if (c == '+' && (previous == 'e' || previous == 'E')) keep = true;
    if (!keep) continue;
    writer.Put(c);
    previous = c;
    kept = true;
  }
  return writer.Length();
}

namespace {

// The serial of the month, day and year read through a date picture.
inline int32_t SerialOfTypedDate(const CompiledPicture& picture, int month, int day, int year) {
  if (DateLayoutHasNoDay(picture.pictureNumber) && day == 0) day = 1;
  if (year < 100) year = ExpandYear(year, picture.centuryWindow);
  return DateToSerial(month, day, year);
}

// DeformatDate for any text and picture, through a cursor. Kept out of line so that reading a
// date typed in its picture's shape stays a small function.
[[gnu::noinline]] int32_t DeformatDateByCursor(const CompiledPicture& picture, const char* text, size_t length) {
  FieldReader reader(text, length);
  int fields[3] = {0, 0, 0};  // month, day, year, in the order of the position codes
  bool given = false;
  bool monthNameMatched = true;
  const auto readRun = [&](uint8_t code, int count) {
    const auto field = static_cast<unsigned>(code - kMonthDigit);
    if (field < 3) {
      const int value = reader.ReadNumber(count);
      if (value >= 0) {
        given = true;
        fields[field] = value;
      }
    } else if (code == kMonthNameLetter) {
      reader.SkipBlanks();
      if (reader.Remaining() > 0) {
        given = true;
        fields[0] = MonthFromAbbreviation(reader);
        monthNameMatched = fields[0] != 13;
      }
    } else {
      for (int k = 0; k < count; ++k) reader.SkipSeparator();
    }
  };
  if (picture.dateRunCount > 0) {
    for (int r = 0; r < picture.dateRunCount; ++r) readRun(picture.dateRuns[r].code, picture.dateRuns[r].count);
  } else {
    for (int i = 0; i < picture.Width();) {
      const int last = picture.RunEnd(i);
      readRun(picture.positions[i].code, last - i + 1);
      i = last + 1;
    }
  }
  if (!given) return 0;
  // A month name that matches none of the twelve is a typing error, not a date.
  if (!monthNameMatched) return -1;
  return SerialOfTypedDate(picture, fields[0], fields[1], fields[2]);
}

}  // namespace

int32_t DeformatDate(const CompiledPicture& picture, const char* text, size_t length) {
  int month;
  int day;
  int year;
  // A template has at least one field, and text in its shape gives each field a digit.
  if (picture.dateRunCount > 0 && ReadTemplateDate(picture, text, length, month, day, year)) {
    return SerialOfTypedDate(picture, month, day, year);
  }
  return DeformatDateByCursor(picture, text, length);
}

int32_t DeformatTime(const CompiledPicture& picture, const char* text, size_t length) {
  FieldReader reader(text, length);
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  bool am = false;
  bool pm = false;
  const LocaleSettings& locale = Locale();
  const bool windowsTexts = TimeLayoutUsesWindowsAmPm(picture.pictureNumber);
  const std::string& amText = windowsTexts ? locale.windowsAmText : locale.amText;
  const std::string& pmText = windowsTexts ? locale.windowsPmText : locale.pmText;
  for (int i = 0; i < picture.Width();) {
    int last = picture.RunEnd(i);
    const uint8_t code = picture.positions[i].code;
    if (code == kHourDigit || code == kMinuteDigit || code == kSecondDigit) {
      const int value = reader.ReadNumber(last - i + 1);
      if (value >= 0) (code == kHourDigit ? hours : code == kMinuteDigit ? minutes : seconds) = value;
    } else if (code == kAmPm) {
      last = i;
      reader.SkipBlanks();
      if (reader.Remaining() > 0) {
        const uint8_t typed = ToUpperChar(static_cast<uint8_t>(*reader.Here()));
        if (!pmText.empty() && typed == ToUpperChar(static_cast<uint8_t>(pmText[0]))) {
          pm = true;
          reader.Advance(1);
        } else if (!amText.empty() && typed == ToUpperChar(static_cast<uint8_t>(amText[0]))) {
          am = true;
          reader.Advance(1);
        }
      }
    } else {
      for (int k = i; k <= last; ++k) reader.SkipSeparator();
      if (i > 0 && picture.positions[i - 1].code == kAmPm) reader.SkipWord();
    }
    i = last + 1;
  }
  if (pm && hours != 12) hours += 12;
  if (am && hours == 12) hours = 0;
  if (hours >= 24 || minutes >= 60 || seconds >= 60) return -1;
  if (hours == 0 && minutes == 0 && seconds == 0 && !am) return 0;
  return hours * 360000 + minutes * 6000 + seconds * 100 + 1;
}

size_t DeformatWithPicture(const CompiledPicture& picture, const char* text, size_t length,
                           char* out, size_t capacity) {
  if (!picture.IsValid()) return 0;
  switch (picture.Class()) {
    case PictureClass::String:
      return DeformatPlainNumber(text, length, static_cast<size_t>(picture.Width()), out, capacity);
    case PictureClass::Date:
      return PutNumber(DeformatDate(picture, text, length), out, capacity);
    case PictureClass::Time:
      return PutNumber(DeformatTime(picture, text, length), out, capacity);
    default:
      return DeformatPositions(picture, text, length, out, capacity);
  }
}

}  // namespace vel::values

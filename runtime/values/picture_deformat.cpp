#include "runtime/values/picture_deformat.h"

#include <bit>
#include <charconv>
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
// letter that belongs to the next field. Only bytes below 128 qualify, and the character tables
// never reclassify those: their letters are always A-Z and a-z.
bool IsPunctuation(char c) {
  const auto byte = static_cast<uint8_t>(c);
  return byte < 128 && !IsDigitChar(c) && !((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
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

// Typed positions are read into words and lanes in memory order: position i is byte i.
static_assert(std::endian::native == std::endian::little, "typed dates are read as little-endian words");

template <typename Word>
Word LoadBytes(const char* at) {
  Word word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// Sixteen typed characters, one per lane; signed, so that bytes above 127 compare below 0.
using Lanes = int8_t __attribute__((vector_size(16)));
using LaneWords = uint64_t __attribute__((vector_size(16)));

Lanes LoadLanes(const uint8_t (&lanes)[16]) {
  Lanes loaded;
  std::memcpy(&loaded, lanes, sizeof loaded);
  return loaded;
}

// All lanes 0 where the typed characters keep the shape: digits in the fields, where a field may
// be led by blanks, and punctuation or blanks at the literals and separators.
Lanes MisplacedLanes(const DateShape& shape, Lanes typed) {
  const Lanes digits = (typed >= '0') & (typed <= '9');
  const Lanes folded = typed | 0x20;
  const Lanes letters = (folded >= 'a') & (folded <= 'z');
  const Lanes blanks = typed == ' ';
  // Each lane's blank flag moved up one lane: whether the position before was a blank.
  const Lanes blankBefore =
      __builtin_shufflevector(Lanes{}, blanks, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30);
  const Lanes badField = LoadLanes(shape.fieldLanes) & ~digits & ~(blanks & LoadLanes(shape.blankableLanes));
  const Lanes badBlank = LoadLanes(shape.blankAfterBlankLanes) & blanks & ~blankBefore;
  const Lanes badPunctuation = LoadLanes(shape.punctuationLanes) & (digits | letters | (typed < 0));
  return badField | badBlank | badPunctuation;
}

// The number in a field already checked to hold digits after leading blanks only: its digits
// (a blank reads as 0) in the bytes of one load, joined in pairs and then the pairs.
int ShapeFieldNumber(const char* text, const DateShapeField& field) {
  const uint32_t digits = (LoadBytes<uint32_t>(text + field.loadAt) << field.shift) & field.digitBits;
  const uint32_t pairs = digits * 10 + (digits >> 8);
  return static_cast<int>((pairs & 0xFF) * 100 + (pairs >> 16 & 0xFF));
}

// Reads the fields of a date typed exactly in its picture's shape, each at its own positions:
// digits, after leading blanks only where the cursor would have skipped them (and then followed
// by no digit), with punctuation at every literal and separator position. Such text reads the
// same as through the cursor, without one. False for any other text, which then takes the
// cursor.
bool ReadTemplateDate(const CompiledPicture& picture, const char* text, size_t length, int& month, int& day, int& year) {
  const int width = picture.Width();
  const DateShape& shape = picture.dateShape;
  if (!shape.readable || length < static_cast<size_t>(width)) return false;
  // The first `width` positions, position i in byte i of the pair and zero past the width;
  // overlapping loads read nothing past the width.
  uint64_t low;
  uint64_t high = 0;
  if (width >= 8) {
    low = LoadBytes<uint64_t>(text);
    if (width > 8) high = LoadBytes<uint64_t>(text + width - 8) >> (8 * (16 - width));
  } else {
    low = LoadBytes<uint32_t>(text) | uint64_t{LoadBytes<uint32_t>(text + width - 4)} << (8 * (width - 4));
  }
  const auto misplaced = reinterpret_cast<LaneWords>(MisplacedLanes(shape, reinterpret_cast<Lanes>(LaneWords{low, high})));
  if ((misplaced[0] | misplaced[1]) != 0) return false;
  if (shape.lastFieldFirst != DateShape::kNoPosition && length > static_cast<size_t>(width) &&
      text[shape.lastFieldFirst] == ' ' && IsDigitChar(text[width])) {
    return false;
  }
  month = ShapeFieldNumber(text, shape.fields[0]);
  day = ShapeFieldNumber(text, shape.fields[1]);
  year = ShapeFieldNumber(text, shape.fields[2]);
  return true;
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
  const char* end = std::to_chars(text, text + sizeof text, number).ptr;
  ResultWriter writer(out, capacity);
  for (const char* at = text; at < end; ++at) writer.Put(*at);
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

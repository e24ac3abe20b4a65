#include "runtime/values/picture_compile.h"

#include "runtime/values/picture_builder.h"
#include "runtime/values/picture_layouts.h"

namespace vel::values {
namespace detail {

int PictureCursor::ReadNumber() {
  if (!IsDigit()) return -2;
  int value = 0;
  int digits = 0;
  while (IsDigit()) {
    value = value * 10 + (*at++ - '0');
    if (++digits > 3) return -1;
  }
  return value;
}

bool PictureCursor::OnlyBlanksRemain() const {
  for (const char* p = at; p < end; ++p) {
    if (*p != ' ' && *p != '\t') return false;
  }
  return true;
}

}  // namespace detail

namespace {

using detail::MapSeparator;
using detail::PictureCursor;

constexpr int kMaxPictureText = 100;

bool IsFillLetter(char c) { return c == '0' || c == '_' || c == '*'; }

bool IsSeparatorLetter(char c) { return c == '.' || c == '-' || c == '_' || c == '`'; }

bool CompileString(PictureCursor cursor, CompiledPicture& picture) {
  const int width = cursor.ReadNumber();
  if (width < 1 || width > 255 || !cursor.OnlyBlanksRemain()) return false;
  picture.SetClass(PictureClass::String, PictureValueKind::Text);
  picture.SetWidth(width);
  return true;
}

// Dates and times share their syntax: fill, layout number, (dates) century window, separator.
bool CompileDateOrTime(PictureCursor cursor, bool isDate, CompiledPicture& picture) {
  char fill = '\0';
  if (IsFillLetter(cursor.Peek()) && cursor.IsDigit(1)) fill = *cursor.at++;
  const int number = cursor.ReadNumber();
  if (number < 0) return false;
  int window = 80;
  if (isDate && (cursor.Peek() == '<' || cursor.Peek() == '>')) {
    const char direction = *cursor.at++;
    int n = cursor.ReadNumber();
    if (n == -2) n = 0;
    if (n < 0 || n > 99) return false;
    window = direction == '<' ? (n == 0 ? 80 : n) : (n == 0 ? 19 : 99 - n);
  }
  char separator = '\0';
  if (IsSeparatorLetter(cursor.Peek())) separator = MapSeparator(*cursor.at++);
  if (!cursor.OnlyBlanksRemain()) return false;

  PictureBuilder builder(picture);
  if (!(isDate ? BuildDateLayout(number, builder) : BuildTimeLayout(number, builder))) return false;
  if (builder.Count() == 0 || builder.Overflowed()) return false;
  const uint8_t firstFieldCode = isDate ? kMonthDigit : kHourDigit;
  const uint8_t lastFieldCode = isDate ? kMonthNameLetter : kSecondDigit;
  for (int i = 0; i < builder.Count(); ++i) {
    PicturePosition& position = picture.positions[i];
    if (fill != '\0' && position.code >= firstFieldCode && position.code <= lastFieldCode) {
      position.fill = static_cast<uint8_t>(MapSeparator(fill));
    }
    if (separator != '\0' && position.code == kDateTimeSeparator) {
      position.fill = static_cast<uint8_t>(separator);
    }
  }
  picture.SetClass(isDate ? PictureClass::Date : PictureClass::Time,
                   PictureValueKind::DateOrTime);
  picture.SetWidth(builder.Count());
  picture.pictureNumber = static_cast<uint8_t>(number);
  if (isDate) picture.centuryWindow = static_cast<uint8_t>(window);
  return true;
}

// Pattern and key-in pictures are closed by the letter that opened them.
bool CompileTemplate(PictureCursor cursor, char opening, bool keyIn, CompiledPicture& picture) {
  if (cursor.end - cursor.at < 1 || cursor.end[-1] != opening) return false;
  const char* const close = cursor.end - 1;
  PictureBuilder builder(picture);
  for (const char* p = cursor.at; p < close; ++p) {
    const char c = *p;
    if (c == '#') {
      builder.Add('0', kDigitShown);
    } else if (c == '<') {
      builder.Add(' ', kDigitBlankable);
    } else if (!keyIn) {
      builder.Add(static_cast<uint8_t>(c), kLiteral);
    } else if (c == '\\' && p + 1 < close) {
      builder.Add(static_cast<uint8_t>(*++p), kLiteral);
    } else if (c == '@' || c == '^' || c == '_' || c == '?' || c == '|') {
      const uint8_t code = c == '@'   ? kKeyInLetter
                           : c == '^' ? kKeyInUpper
                           : c == '_' ? kKeyInLower
                           : c == '?' ? kKeyInAny
                                      : kKeyInOptionalEnd;
      builder.Add(' ', code);
    } else {
      builder.Add(static_cast<uint8_t>(c), kLiteral);
    }
  }
  if (builder.Count() == 0 || builder.Overflowed()) return false;
  picture.SetClass(keyIn ? PictureClass::KeyIn : PictureClass::Pattern,
                   keyIn ? PictureValueKind::Text : PictureValueKind::Numeric);
  picture.SetWidth(builder.Count());
  return true;
}

// Records where the integer part ends and how many digits each side has: the first decimal
// point (shown or implied) splits the digit positions, and without one every digit is an
// integer digit.
void SummariseDigits(CompiledPicture& picture) {
  const int width = picture.PositionCount();
  int point = -1;
  int places = 0;
  int capacity = 0;
  bool hasSign = false;
  for (int i = 0; i < width; ++i) {
    const uint8_t code = picture.positions[i].code;
    if (IsDigitCode(code)) (point < 0 ? capacity : places) += 1;
    if (point < 0 && (code == kDecimalSeparator || code == kImpliedDecimal)) point = i;
    hasSign = hasSign || code == kSign;
  }
  int units = width - 1;
  if (point >= 0) units = picture.positions[point].code == kImpliedDecimal ? point : point - 1;
  picture.unitsIndex = static_cast<uint8_t>(units < 0 ? 0 : units);
  picture.decimalPlaces = static_cast<uint8_t>(places);
  picture.integerCapacity = static_cast<uint8_t>(capacity);
  picture.hasSign = hasSign;
}

bool IsDateFieldRun(const PositionRun& run) {
  return run.code == kMonthDigit || run.code == kDayDigit || run.code == kYearDigit;
}

// A field of up to 4 digits is loaded with the 4 bytes that end where it ends, or for a field
// ending within the first 4 positions with the first 4 bytes, shifted to put it at the top.
DateShapeField ShapeFieldOf(const PositionRun& run) {
  const int end = run.first + run.count;
  DateShapeField field;
  field.loadAt = static_cast<uint8_t>(end >= 4 ? end - 4 : 0);
  field.shift = static_cast<uint8_t>(end >= 4 ? 0 : 8 * (4 - end));
  field.digitBits = static_cast<uint32_t>(0xFFFFFFFFULL << 8 * (4 - run.count)) & 0x0F0F0F0FU;
  return field;
}

// Where text typed in the shape of a template with `runs` runs shows digits, blanks and
// punctuation. Blanks may lead a field only where the typist's cursor skips them: at the start
// or after a literal or separator. A field run straight into the next field gets none either:
// after its blanks the cursor would take the next field's first digit as its own last.
DateShape DeriveDateShape(const CompiledPicture& picture, int runs) {
  DateShape shape;
  shape.readable = picture.Width() >= 4;
  for (int r = 0; r < runs; ++r) {
    const PositionRun& run = picture.dateRuns[r];
    const int end = run.first + run.count;
    if (!IsDateFieldRun(run)) {
      for (int k = run.first; k < end; ++k) shape.punctuationLanes[k] = 0xFF;
      continue;
    }
    for (int k = run.first; k < end; ++k) shape.fieldLanes[k] = 0xFF;
    if (run.count > 4) {
      shape.readable = false;
    } else {
      shape.fields[run.code - kMonthDigit] = ShapeFieldOf(run);
    }
    const bool afterField = r > 0 && IsDateFieldRun(picture.dateRuns[r - 1]);
    const bool beforeField = r + 1 < runs && IsDateFieldRun(picture.dateRuns[r + 1]);
    if (afterField || beforeField || run.count < 2) continue;
    for (int k = run.first; k < end - 1; ++k) {
      shape.blankableLanes[k] = 0xFF;
      if (k > run.first) shape.blankAfterBlankLanes[k] = 0xFF;
    }
    if (end == picture.Width()) shape.lastFieldFirst = run.first;
  }
  return shape;
}

// Gives a date picture made only of digit fields, literals and separators its template: the
// fills of all its positions (the formatter then writes just the digits a date shows) and its
// runs of positions.
void SummariseDateLayout(CompiledPicture& picture) {
  const int width = picture.Width();
  if (picture.Class() != PictureClass::Date || width > kMaxDateTemplateWidth) return;
  // Filled in place; a picture that turns out unsuitable keeps a run count of 0, and nothing
  // reads the other fields then.
  int runs = 0;
  for (int i = 0; i < width;) {
    const uint8_t code = picture.positions[i].code;
    const int last = picture.RunEnd(i);
    const PositionRun run{code, static_cast<uint8_t>(i), static_cast<uint8_t>(last - i + 1)};
    const bool field = IsDateFieldRun(run);
    if (!field && code != kLiteral && code != kDateTimeSeparator) return;
    if (runs == kMaxDateRuns) return;
    picture.dateRuns[runs++] = run;
    if (field) {
      PositionRun& fieldRun = picture.dateFields[code - kMonthDigit];
      if (fieldRun.count != 0) return;  // a field shown twice
      fieldRun = run;
    }
    for (int k = i; k <= last; ++k) picture.dateTemplate[k] = static_cast<char>(picture.positions[k].fill);
    i = last + 1;
  }
  picture.dateShape = DeriveDateShape(picture, runs);
  picture.dateRunCount = static_cast<uint8_t>(runs);
}

bool CompileBody(const char* begin, const char* end, CompiledPicture& picture) {
  const char letter = *begin;
  PictureCursor cursor{begin + 1, end};
  switch (letter) {
    case 'S':
    case 's':
      return CompileString(cursor, picture);
    case 'D':
    case 'd':
      return CompileDateOrTime(cursor, true, picture);
    case 'T':
    case 't':
      return CompileDateOrTime(cursor, false, picture);
    case 'N':
    case 'n':
      return detail::CompileNumericPicture(cursor, picture);
    case 'E':
    case 'e':
      return detail::CompileScientificPicture(cursor, picture);
    case 'P':
    case 'p':
      return CompileTemplate(cursor, letter, false, picture);
    case 'K':
    case 'k':
      return CompileTemplate(cursor, letter, true, picture);
    default:
      return false;
  }
}

}  // namespace

void CompilePicture(const char* text, CompiledPicture& picture) {
  picture = CompiledPicture{};
  picture.source = text;
  if (text == nullptr) {
    picture.SetClass(PictureClass::String, PictureValueKind::Text);
    picture.SetWidth(255);
    return;
  }
  const char* begin = *text == '@' ? text + 1 : text;
  // Never look further than one byte past the longest valid picture.
  const char* end = begin;
  while (end - begin <= kMaxPictureText && *end != '\0') ++end;
  if (end == begin || end - begin > kMaxPictureText) return;
  if ((end[-1] == 'B' || end[-1] == 'b') && end - begin >= 3) {
    picture.SetBlankWhenZero(true);
    --end;
  }
  if (!CompileBody(begin, end, picture)) {
    // Keep nothing of a half-built record: an invalid picture is width 0 and nothing else.
    picture = CompiledPicture{};
    picture.source = text;
    return;
  }
  SummariseDigits(picture);
  SummariseDateLayout(picture);
}

int PictureBufferSize(const char* text) {
  CompiledPicture picture;
  CompilePicture(text, picture);
  if (!picture.IsValid()) return 0;
  if (picture.Class() == PictureClass::String) return 2;
  return picture.Width() * 2 + 2;
}

}  // namespace vel::values

// Compiling numeric ("N") and scientific ("E") pictures.

#include "runtime/values/picture_compile.h"

#include <string_view>

#include "runtime/values/picture_builder.h"

namespace vel::values::detail {
namespace {

constexpr int kMaxCurrencyLength = 20;

// Reads "$" or a text between two "~"; false for a malformed currency.
bool ReadCurrency(PictureCursor& cursor, std::string_view& currency) {
  if (cursor.Peek() == '$') {
    currency = std::string_view(cursor.at++, 1);
    return true;
  }
  if (cursor.Peek() != '~') return true;
  const char* start = ++cursor.at;
  while (!cursor.AtEnd() && *cursor.at != '~') ++cursor.at;
  if (cursor.AtEnd()) return false;
  currency = std::string_view(start, static_cast<size_t>(cursor.at - start));
  ++cursor.at;
  return !currency.empty() && currency.size() <= kMaxCurrencyLength;
}

bool IsCurrencyStart(char c) { return c == '$' || c == '~'; }

bool IsGroupingLetter(char c) { return c == '.' || c == ',' || c == '_' || c == '`'; }

bool IsDecimalLetter(char c) {
  return c == '.' || c == ',' || c == '`' || c == 'v' || c == 'V';
}

// Everything an "N" picture says, gathered before the layout is built.
struct NumericOptions {
  std::string_view leadingCurrency;
  std::string_view trailingCurrency;
  char leadingSign = '\0';   // "-" or "("
  char trailingSign = '\0';  // "-" or ")"
  char fill = '\0';          // "0", "*", "_" or none
  int width = 0;
  bool groupingGiven = false;
  char grouping = ',';
  bool decimalGiven = false;
  char decimal = '.';
  bool implied = false;
  int decimals = 0;
};

bool ParseNumeric(PictureCursor& cursor, NumericOptions& options) {
  if (!ReadCurrency(cursor, options.leadingCurrency)) return false;
  if (cursor.Peek() == '-' || cursor.Peek() == '(') options.leadingSign = *cursor.at++;
  if ((cursor.Peek() == '0' || cursor.Peek() == '*' || cursor.Peek() == '_') && cursor.IsDigit(1)) {
    options.fill = *cursor.at++;
  }
  options.width = cursor.ReadNumber();
  if (options.width < 1 || options.width > kMaxPicturePositions) return false;

  const char c = cursor.Peek();
  if (IsGroupingLetter(c) && IsDecimalLetter(cursor.Peek(1))) {
    options.groupingGiven = true;
    options.grouping = MapSeparator(c);
    ++cursor.at;
  }
  if (IsDecimalLetter(cursor.Peek()) && (cursor.IsDigit(1) || options.groupingGiven)) {
    const char d = *cursor.at++;
    options.decimalGiven = true;
    options.implied = d == 'v' || d == 'V';
    options.decimal = d == '`' ? ',' : d;
    if (d == '`' && !options.groupingGiven) options.grouping = '.';
    const int count = cursor.ReadNumber();
    if (count == -1 || count > kMaxPicturePositions) return false;
    options.decimals = count < 0 ? 0 : count;
  } else if (IsGroupingLetter(c)) {
    // A separator letter without a count of decimals is the grouping character.
    options.groupingGiven = true;
    options.grouping = MapSeparator(*cursor.at++);
  }

  if (cursor.Peek() == '-' || cursor.Peek() == ')') {
    const char sign = *cursor.at++;
    if (sign == '-' && options.leadingSign != '\0') return false;
    if (sign == ')' && options.leadingSign != '(') return false;
    options.trailingSign = sign;
  }
  if (options.leadingSign == '(' && options.trailingSign != ')') return false;
  if (IsCurrencyStart(cursor.Peek())) {
    if (!options.leadingCurrency.empty()) return false;
    if (!ReadCurrency(cursor, options.trailingCurrency)) return false;
  }
  return cursor.OnlyBlanksRemain();
}

void AddText(PictureBuilder& builder, std::string_view text, uint8_t code) {
  for (char c : text) builder.Add(static_cast<uint8_t>(c), code);
}

}  // namespace

bool CompileNumericPicture(PictureCursor cursor, CompiledPicture& picture) {
  NumericOptions options;
  if (!ParseNumeric(cursor, options)) return false;
  const bool grouping = options.groupingGiven || options.fill == '\0';
  const bool showPoint = options.decimals > 0 && !options.implied;
  const int fixed = static_cast<int>(options.leadingCurrency.size() + options.trailingCurrency.size()) +
                    (options.leadingSign ? 1 : 0) + (options.trailingSign ? 1 : 0) +
                    (showPoint ? 1 : 0) + options.decimals;
  const int integerPositions = options.width - fixed;
  if (integerPositions < 1) return false;

  // Lay the integer part out from the units digit leftwards, then emit it left to right.
  uint8_t digitCode = kDigitBlankable;
  uint8_t digitFill = ' ';
  if (options.fill == '0' || options.fill == '*') {
    digitCode = kDigitShown;
    digitFill = static_cast<uint8_t>(options.fill);
  }
  PicturePosition integerPart[kMaxPicturePositions];
  int digitsSinceSeparator = 0;
  for (int i = integerPositions - 1; i >= 0; --i) {
    const bool units = i == integerPositions - 1;
    // A separator needs a digit position to its left, so the leftmost position is a digit.
    if (grouping && digitsSinceSeparator == 3 && i > 0) {
      integerPart[i] = PicturePosition{static_cast<uint8_t>(options.grouping), kGroupSeparator};
      digitsSinceSeparator = 0;
      continue;
    }
    if (units) {
      const uint8_t code = options.implied && options.decimals > 0 ? kImpliedDecimal : kDigitShown;
      integerPart[i] = PicturePosition{'0', code};
    } else {
      integerPart[i] = PicturePosition{digitFill, digitCode};
    }
    ++digitsSinceSeparator;
  }

  PictureBuilder builder(picture);
  AddText(builder, options.leadingCurrency, kCurrency);
  if (options.leadingSign) builder.Add(static_cast<uint8_t>(options.leadingSign), kSign);
  for (int i = 0; i < integerPositions; ++i) {
    builder.Add(integerPart[i].fill, integerPart[i].code);
  }
  if (showPoint) builder.Add(static_cast<uint8_t>(options.decimal), kDecimalSeparator);
  for (int i = 0; i < options.decimals; ++i) builder.Add('0', kDigitShown);
  if (options.trailingSign) builder.Add(static_cast<uint8_t>(options.trailingSign), kSign);
  AddText(builder, options.trailingCurrency, kCurrency);
  if (builder.Overflowed() || builder.Count() != options.width) return false;

  picture.SetClass(PictureClass::Numeric, PictureValueKind::Numeric);
  picture.SetWidth(options.width);
  picture.pictureNumber = static_cast<uint8_t>(options.decimals);
  return true;
}

bool CompileScientificPicture(PictureCursor cursor, CompiledPicture& picture) {
  const int width = cursor.ReadNumber();
  if (width < 7 || width > kMaxPicturePositions) return false;
  char grouping = ',';
  char decimal = '.';
  int integerDigits = 1;
  const char c = cursor.Peek();
  if ((c == '.' || c == '_' || c == '`') && !cursor.AtEnd() && cursor.Peek(1) != '\0' &&
      !cursor.IsDigit(1)) {
    grouping = MapSeparator(c);
    ++cursor.at;
  }
  if (!cursor.AtEnd() && !cursor.IsDigit() && cursor.Peek() != ' ' && cursor.Peek() != '\t') {
    const char d = *cursor.at++;
    if (d != '.' && d != ',' && d != '`') return false;
    decimal = d == '`' ? ',' : d;
    const int count = cursor.ReadNumber();
    if (count == -1 || count > kMaxPicturePositions) return false;
    integerDigits = count < 0 ? 0 : count;
  }
  if (!cursor.OnlyBlanksRemain()) return false;
  const int separators = integerDigits > 0 ? (integerDigits - 1) / 3 : 0;
  if (width < integerDigits + separators + 7) return false;

  PictureBuilder builder(picture);
  builder.Add('-', kSign);
  for (int i = 0; i < integerDigits; ++i) {
    const int fromRight = integerDigits - i;  // 1 for the units digit
    if (i > 0 && fromRight % 3 == 0) builder.Add(static_cast<uint8_t>(grouping), kGroupSeparator);
    if (fromRight == 1) {
      builder.Add('0', kDigitShown);
    } else {
      builder.Add(' ', kDigitBlankable);
    }
  }
  builder.Add(static_cast<uint8_t>(decimal), kDecimalSeparator);
  while (builder.Count() < width - 5) builder.Add('0', kDigitShown);
  builder.Add('E', kLiteral);
  builder.Add('+', kExponentSign);
  for (int i = 0; i < 3; ++i) builder.Add('0', kDigitShown);
  if (builder.Overflowed() || builder.Count() != width) return false;

  picture.SetClass(PictureClass::Scientific, PictureValueKind::Scientific);
  picture.SetWidth(width);
  picture.pictureNumber = static_cast<uint8_t>(width);
  return true;
}

}  // namespace vel::values::detail

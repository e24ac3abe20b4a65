// Formatting exact decimals through numeric and pattern pictures, and laying floating-point
// numbers out over scientific pictures.

#include "runtime/values/picture_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/values/decimal_float.h"
#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/picture_format_internal.h"

namespace vel::values::detail {
namespace {

constexpr int kUnitsPosition = DecimalEntry::kUnits;
constexpr int kDecimalPositions = DecimalEntry::kPositions;

// The highest position at or above `low` holding a nonzero digit, or low - 1 when there is
// none. Digits above the entry's highest position in use are zero, so the search starts there.
int HighestNonZero(const DecimalEntry& value, int low) {
  int high = value.high < kDecimalPositions ? value.high : kDecimalPositions - 1;
  while (high >= low && value.digits[high] == 0) --high;
  return high;
}

// What a digit position shows when it stands left of the most significant digit.
char LeadingFill(const PicturePosition& position) {
  return position.code == kDigitShown ? static_cast<char>(position.fill) : ' ';
}

// A picture without a sign position still must not show a negative number as positive: the
// minus goes into the blank just left of the most significant digit, or replaces the leftmost
// fill character; with no room at all the integer digits overflow.
void PlaceFloatingMinus(const CompiledPicture& picture, int mostSignificant, char* block) {
  const PicturePosition* positions = picture.positions;
  for (int i = mostSignificant - 1; i >= 0; --i) {
    const uint8_t code = positions[i].code;
    if (!IsDigitCode(code) && code != kGroupSeparator) break;
    if (block[i] == ' ') {
      block[i] = '-';
      return;
    }
  }
  for (int i = 0; i < mostSignificant; ++i) {
    const uint8_t code = positions[i].code;
    if (IsDigitCode(code) || code == kGroupSeparator) {
      block[i] = '-';
      return;
    }
  }
  for (int i = 0; i <= picture.unitsIndex; ++i) {
    if (IsDigitCode(positions[i].code) || positions[i].code == kGroupSeparator) block[i] = '#';
  }
}

}  // namespace

void LayOutDecimal(const CompiledPicture& picture, const DecimalEntry& value, char* block) {
  const int width = picture.Width();
  const PicturePosition* positions = picture.positions;
  const int units = picture.unitsIndex;
  const int places = picture.decimalPlaces < kUnitsPosition ? picture.decimalPlaces : kUnitsPosition;

  // Round half up on the magnitude: the digit below the lowest kept position decides.
  const int cut = kUnitsPosition - places;
  int high = HighestNonZero(value, cut);
  // Digits below the cut are never read, so the value's own digits serve unless rounding
  // carries; then a local copy takes the carry (one beyond position 63 is lost, as in the
  // decimal stack).
  const uint8_t* digits = value.digits;
  uint8_t rounded[kDecimalPositions];
  if (cut > 0 && value.digits[cut - 1] >= 5) {
    std::memcpy(rounded, value.digits, sizeof rounded);
    int i = cut;
    for (; i < kDecimalPositions && rounded[i] == 9; ++i) rounded[i] = 0;
    if (i < kDecimalPositions) ++rounded[i];
    if (i > high && i < kDecimalPositions) high = i;
    while (high >= cut && rounded[high] == 0) --high;
    digits = rounded;
  }
  const bool zero = high < cut;
  if (picture.BlankWhenZero() && zero) {
    FillBlanks(block, static_cast<size_t>(width));
    return;
  }
  const int integerDigits = high >= kUnitsPosition ? high - kUnitsPosition + 1 : 0;
  const bool overflow = integerDigits > picture.integerCapacity;
  const bool negative = value.sign != 0 && !zero;

  // One walk from the right: fraction digits rise from the lowest kept position, integer
  // digits from the units, which always shows. Places beyond what a decimal holds show zeros.
  // The walk is split at the units so that neither half asks on which side it is, and an
  // overflowing integer part, which shows only '#', takes a half of its own.
  int fraction = cut - (picture.decimalPlaces - places);
  int shown = 0;
  int mostSignificant = -1;
  // Positions other than digits; `shown` counts the integer digit positions to the right.
  const auto layOutOther = [&](int i, const PicturePosition& position) {
    const uint8_t code = position.code;
    if (code == kGroupSeparator) {
      if (overflow) {
        block[i] = '#';
      } else if (shown < integerDigits) {
        block[i] = static_cast<char>(position.fill);
      } else {
        // Left of the first shown digit a separator takes the fill of the digits around it.
        block[i] = i > 0 && IsDigitCode(positions[i - 1].code) ? LeadingFill(positions[i - 1]) : ' ';
      }
    } else if (code == kSign) {
      block[i] = negative ? static_cast<char>(position.fill) : ' ';
    } else {
      // Literals, currency and the decimal separator show their fill character.
      block[i] = static_cast<char>(position.fill);
    }
  };
  int i = width - 1;
  for (; i > units; --i) {
    const PicturePosition& position = positions[i];
    // Plain comparisons instead of a switch: the digit case dominates and predicts well.
    if (IsDigitCode(position.code)) {
      block[i] = static_cast<char>(fraction < 0 ? '0' : '0' + digits[fraction]);
      ++fraction;
    } else {
      layOutOther(i, position);
    }
  }
  if (overflow) {
    for (; i >= 0; --i) {
      if (IsDigitCode(positions[i].code)) {
        block[i] = '#';
      } else {
        layOutOther(i, positions[i]);
      }
    }
  }
  for (; i >= 0; --i) {
    const PicturePosition& position = positions[i];
    if (IsDigitCode(position.code)) {
      if (shown < integerDigits || shown == 0) {
        block[i] = static_cast<char>('0' + digits[kUnitsPosition + shown++]);
        mostSignificant = i;
      } else {
        block[i] = LeadingFill(position);
        ++shown;
      }
    } else {
      layOutOther(i, position);
    }
  }
  if (negative && !picture.hasSign && !overflow) PlaceFloatingMinus(picture, mostSignificant, block);
}

void LayOutScientific(const CompiledPicture& picture, double value, char* block) {
  const int width = picture.Width();
  const PicturePosition* positions = picture.positions;
  int integerDigits = 0;
  int fractionDigits = 0;
  int point = -1;
  int exponentSign = -1;
  for (int i = 0; i < width; ++i) {
    const uint8_t code = positions[i].code;
    if (code == kDecimalSeparator) point = i;
    if (code == kExponentSign) exponentSign = i;
    if (IsDigitCode(code) && exponentSign < 0) (point < 0 ? integerDigits : fractionDigits) += 1;
  }
  for (int i = 0; i < width; ++i) {
    if (positions[i].code == kLiteral || positions[i].code == kDecimalSeparator) {
      block[i] = static_cast<char>(positions[i].fill);
    }
  }
  if (!std::isfinite(value)) {
    for (int i = 0; i < width; ++i) {
      if (IsDigitCode(positions[i].code)) block[i] = '#';
    }
    return;
  }
  // The mantissa's digits, rounded by the C library to the positions available.
  const int significant = integerDigits + fractionDigits > 0 ? integerDigits + fractionDigits : 1;
  char text[160];
  std::snprintf(text, sizeof text, "%.*e", significant - 1, std::fabs(value));
  char digits[110];
  int count = 0;
  const char* p = text;
  for (; *p != '\0' && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9' && count < significant) digits[count++] = *p;
  }
  int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
  const bool zero = value == 0;
  // The leading digit weighs 10^exponent; with n integer digits the shown exponent is
  // exponent - n + 1 (for n = 0 the mantissa is below 1).
  exponent = zero ? 0 : exponent - integerDigits + 1;
  int next = 0;
  bool leading = true;
  for (int i = 0; i < width; ++i) {
    const PicturePosition& position = positions[i];
    if (position.code == kSign) {
      block[i] = value < 0 ? static_cast<char>(position.fill) : ' ';
    } else if (i > exponentSign && exponentSign >= 0) {
      break;
    } else if (IsDigitCode(position.code)) {
      const char digit = next < count ? digits[next] : '0';
      ++next;
      const bool units = i + 1 < width && positions[i + 1].code == kDecimalSeparator;
      if (digit != '0' || units || i > point) leading = false;
      block[i] = leading ? LeadingFill(position) : digit;
    } else if (position.code == kGroupSeparator) {
      block[i] = leading ? ' ' : static_cast<char>(position.fill);
    }
  }
  if (exponentSign >= 0) {
    block[exponentSign] = exponent < 0 ? '-' : '+';
    int magnitude = std::abs(exponent);
    for (int i = width - 1; i > exponentSign; --i) {
      block[i] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    }
  }
}

}  // namespace vel::values::detail

namespace vel::values {

size_t FormatDecimal(const CompiledPicture& picture, const DecimalEntry& value, char* out,
                     size_t capacity) {
  if (!picture.IsValid()) return 0;
  switch (picture.Class()) {
    case PictureClass::Numeric:
    case PictureClass::Pattern: {
      detail::OutputBlock block(picture.Width(), out, capacity, false);
      detail::LayOutDecimal(picture, value, block.Data());
      return block.Deliver();
    }
    case PictureClass::String:
    case PictureClass::KeyIn: {
      // Text pictures show the number as its plain text, cut or blank-filled.
      detail::OutputBlock block(picture.Width(), out, capacity);
      char text[kMaxDecimalTextLength];
      const size_t length = DecimalToText(value, text);
      const size_t width = static_cast<size_t>(picture.Width());
      std::memcpy(block.Data(), text, length < width ? length : width);
      return block.Deliver();
    }
    default:
      return FormatNumber(picture, DecimalToFloat64(value), out, capacity);
  }
}

size_t DecFormat(const CompiledPicture& picture, char* out, size_t capacity) {
  return FormatDecimal(picture, CurrentDecimalStack().PopEntry(), out, capacity);
}

}  // namespace vel::values

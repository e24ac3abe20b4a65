// Laying numbers out over numeric, pattern and scientific pictures.

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/values/picture_format_internal.h"

namespace vel::values::detail {
namespace {

bool IsDigitCode(uint8_t code) {
  return code == kDigitShown || code == kDigitBlankable || code == kImpliedDecimal;
}

// What a digit position shows when it stands left of the most significant digit.
char LeadingFill(const PicturePosition& position) {
  return position.code == kDigitShown ? static_cast<char>(position.fill) : ' ';
}

}  // namespace

void LayOutDecimal(const CompiledPicture& picture, PictureDecimal value, char* block) {
  const int width = picture.Width();
  const PicturePosition* positions = picture.positions;

  // The decimal point (shown or implied) splits integer from fraction positions.
  int point = -1;
  for (int i = 0; i < width && point < 0; ++i) {
    if (positions[i].code == kDecimalSeparator || positions[i].code == kImpliedDecimal) point = i;
  }
  int places = 0;
  if (point >= 0) {
    for (int i = point + 1; i < width; ++i) places += IsDigitCode(positions[i].code) ? 1 : 0;
  }
  RoundDecimal(value, places);
  const bool zero = IsZero(value);
  if (picture.BlankWhenZero() && zero) return;

  int integerDigits = 0;
  for (int i = kDecimalPositions - 1; i >= kUnitsPosition; --i) {
    if (value.digits[i] != 0) {
      integerDigits = i - kUnitsPosition + 1;
      break;
    }
  }
  // The integer part ends with the units digit: the implied point's own position, or the
  // last position before a shown point, or the last position of all.
  const int integerEnd = point < 0 ? width - 1
                         : positions[point].code == kImpliedDecimal ? point
                                                                     : point - 1;
  int integerCapacity = 0;
  bool hasSign = false;
  for (int i = 0; i < width; ++i) {
    if (i <= integerEnd && IsDigitCode(positions[i].code)) ++integerCapacity;
    hasSign = hasSign || positions[i].code == kSign;
  }
  const bool overflow = integerDigits > integerCapacity;

  // Fraction digits, left to right from the tenths.
  int fraction = kUnitsPosition - 1;
  for (int i = integerEnd + 1; i < width; ++i) {
    const PicturePosition& position = positions[i];
    if (IsDigitCode(position.code)) {
      block[i] = static_cast<char>('0' + (fraction >= 0 ? value.digits[fraction] : 0));
      --fraction;
    }
  }
  // Integer digits, right to left from the units.
  int shown = 0;
  int mostSignificant = -1;
  for (int i = integerEnd; i >= 0; --i) {
    const PicturePosition& position = positions[i];
    if (IsDigitCode(position.code)) {
      if (overflow) {
        block[i] = '#';
      } else if (shown < integerDigits || shown == 0) {
        // The first digit position from the right is the units digit, always shown.
        block[i] = static_cast<char>('0' + value.digits[kUnitsPosition + shown]);
        mostSignificant = i;
      } else {
        block[i] = LeadingFill(position);
      }
      ++shown;
    } else if (position.code == kGroupSeparator) {
      if (overflow) {
        block[i] = '#';
      } else if (shown < integerDigits) {
        block[i] = static_cast<char>(position.fill);
      } else {
        // Left of the first shown digit a separator takes the fill of the digits around it.
        block[i] = i > 0 && IsDigitCode(positions[i - 1].code) ? LeadingFill(positions[i - 1]) : ' ';
      }
    }
  }
  // Everything that is not a digit.
  const bool negative = value.negative && !zero;
  for (int i = 0; i < width; ++i) {
    const PicturePosition& position = positions[i];
    switch (position.code) {
      case kSign:
        block[i] = negative ? static_cast<char>(position.fill) : ' ';
        break;
      case kLiteral:
      case kCurrency:
      case kDecimalSeparator:
        block[i] = static_cast<char>(position.fill);
        break;
      default:
        break;
    }
  }
  if (!negative || hasSign || overflow) return;
  // A picture without a sign position still must not show a negative number as positive:
  // the minus goes into the blank just left of the most significant digit, or replaces the
  // leftmost fill character; with no room at all the digits overflow.
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
  for (int i = 0; i <= integerEnd; ++i) {
    if (IsDigitCode(positions[i].code) || positions[i].code == kGroupSeparator) block[i] = '#';
  }
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

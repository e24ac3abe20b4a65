#include "runtime/values/picture_decimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vel::values {
namespace {

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// Moves every digit by `shift` positions (positive: towards the integer end); digits moved
// past either end are lost.
void ShiftDigits(PictureDecimal& value, int shift) {
  if (shift == 0) return;
  uint8_t shifted[kDecimalPositions] = {};
  for (int i = 0; i < kDecimalPositions; ++i) {
    const int target = i + shift;
    if (target >= 0 && target < kDecimalPositions) shifted[target] = value.digits[i];
  }
  for (int i = 0; i < kDecimalPositions; ++i) value.digits[i] = shifted[i];
}

}  // namespace

void ParseDecimalText(const char* text, size_t length, PictureDecimal& value) {
  value = PictureDecimal{};
  size_t at = 0;
  while (at < length && text[at] == ' ') ++at;
  bool negative = false;
  if (at < length && text[at] == '-') {
    negative = true;
    ++at;
  }
  // Integer digits shift in from the units end, so the last 32 read are kept.
  while (at < length && IsDigitChar(text[at])) {
    for (int i = kDecimalPositions - 1; i > kUnitsPosition; --i) value.digits[i] = value.digits[i - 1];
    value.digits[kUnitsPosition] = static_cast<uint8_t>(text[at++] - '0');
  }
  if (at < length && text[at] == '.') {
    ++at;
    int position = kUnitsPosition - 1;
    bool hadFraction = false;
    while (at < length && IsDigitChar(text[at])) {
      if (position >= 0) value.digits[position--] = static_cast<uint8_t>(text[at] - '0');
      ++at;
      hadFraction = true;
    }
    if (hadFraction && at < length && (text[at] == 'e' || text[at] == 'E')) {
      ++at;
      bool negativeExponent = false;
      if (at < length && text[at] == '-') {
        negativeExponent = true;
        ++at;
      }
      int exponent = 0;
      while (at < length && IsDigitChar(text[at])) {
        if (exponent < 1000) exponent = exponent * 10 + (text[at] - '0');
        ++at;
      }
      if (exponent > kDecimalPositions) exponent = kDecimalPositions;
      ShiftDigits(value, negativeExponent ? -exponent : exponent);
    }
  }
  value.negative = negative && !IsZero(value);
}

void DecimalFromDouble(double number, PictureDecimal& value) {
  value = PictureDecimal{};
  if (!std::isfinite(number)) return;
  // "%.14e" gives exactly 15 significant digits, already rounded.
  char text[40];
  const int length = std::snprintf(text, sizeof text, "%.14e", std::fabs(number));
  if (length <= 0 || length >= static_cast<int>(sizeof text)) return;
  int exponent = 0;
  const char* e = text;
  while (*e != 'e' && *e != '\0') ++e;
  if (*e == 'e') exponent = std::atoi(e + 1);
  // The leading digit has weight 10^exponent, so it sits at position 32 + exponent.
  int position = kUnitsPosition + exponent;
  for (const char* p = text; p < e; ++p) {
    if (!IsDigitChar(*p)) continue;
    if (position >= 0 && position < kDecimalPositions) {
      value.digits[position] = static_cast<uint8_t>(*p - '0');
    }
    --position;
  }
  value.negative = number < 0 && !IsZero(value);
}

bool IsZero(const PictureDecimal& value) {
  for (uint8_t digit : value.digits) {
    if (digit != 0) return false;
  }
  return true;
}

void RoundDecimal(PictureDecimal& value, int places) {
  if (places >= kUnitsPosition) return;
  if (places < 0) places = 0;
  const int cut = kUnitsPosition - places;  // lowest position kept
  const bool roundUp = value.digits[cut - 1] >= 5;
  for (int i = 0; i < cut; ++i) value.digits[i] = 0;
  if (roundUp) {
    for (int i = cut; i < kDecimalPositions; ++i) {
      if (++value.digits[i] < 10) break;
      value.digits[i] = 0;
    }
  }
  if (IsZero(value)) value.negative = false;
}

}  // namespace vel::values

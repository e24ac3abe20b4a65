#include "runtime/values/decimal_text.h"

#include <algorithm>

#include "runtime/values/decimal_value.h"

namespace vel::values {
namespace {

// Exponents beyond this move every digit out of the 64 positions, so larger ones need not be
// counted exactly (and cannot overflow the counter).
constexpr int kExponentLimit = 1000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// The parts of a number text under the grammar of DecimalFromText.
struct NumberText {
  bool negative = false;
  const char* integer = nullptr;  // the integer digits kept: the last 32 at most
  size_t integerCount = 0;
  const char* fraction = nullptr;  // the fraction digits kept: the first 32 at most
  size_t fractionCount = 0;
  int exponent = 0;
};

NumberText ScanNumberText(const char* text, size_t length) {
  NumberText number;
  if (text == nullptr) {
    return number;
  }
  size_t i = 0;
  while (i < length && text[i] == ' ') {
    ++i;
  }
  if (i < length && text[i] == '-') {
    number.negative = true;
    ++i;
  }
  const size_t integerStart = i;
  while (i < length && IsDigit(text[i])) {
    ++i;
  }
  number.integerCount = std::min<size_t>(i - integerStart, DecimalEntry::kUnits);
  number.integer = text + i - number.integerCount;
  if (i < length && text[i] == '.') {
    ++i;
    const size_t fractionStart = i;
    while (i < length && IsDigit(text[i])) {
      ++i;
    }
    number.fraction = text + fractionStart;
    number.fractionCount = std::min<size_t>(i - fractionStart, DecimalEntry::kPositions - DecimalEntry::kUnits);
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
      ++i;
      bool negativeExponent = false;
      if (i < length && text[i] == '-') {
        negativeExponent = true;
        ++i;
      }
      while (i < length && IsDigit(text[i])) {
        number.exponent = std::min(number.exponent * 10 + (text[i] - '0'), kExponentLimit);
        ++i;
      }
      if (negativeExponent) {
        number.exponent = -number.exponent;
      }
    }
  }
  return number;
}

/// The value of `count` digits (at most 16) followed by `scale` zeros.
uint64_t DigitRunValue(const char* digits, size_t count, size_t scale) {
  uint64_t value = 0;
  for (size_t k = 0; k < count; ++k) {
    value = value * 10 + static_cast<uint64_t>(digits[k] - '0');
  }
  for (size_t k = 0; k < scale; ++k) {
    value *= 10;
  }
  return value;
}

}  // namespace

DecimalEntry DecimalFromText(const char* text, size_t length) {
  const NumberText number = ScanNumberText(text, length);
  DecimalEntry entry = DecimalZero();
  for (size_t k = 0; k < number.integerCount; ++k) {
    entry.digits[DecimalEntry::kUnits + k] = static_cast<uint8_t>(number.integer[number.integerCount - 1 - k] - '0');
  }
  for (size_t k = 0; k < number.fractionCount; ++k) {
    entry.digits[DecimalEntry::kUnits - 1 - k] = static_cast<uint8_t>(number.fraction[k] - '0');
  }
  entry.sign = number.negative ? 1 : 0;
  NormaliseDecimal(entry);
  ShiftDecimal(entry, number.exponent);
  return entry;
}

DecimalValue ValueFromText(const char* text, size_t length) {
  const NumberText number = ScanNumberText(text, length);
  if (number.exponent != 0) {
    return PackDecimal(DecimalFromText(text, length));  // the digits move: done on digits
  }
  // Limbs straight from the digit runs: the integer's last 16 digits are limb 2 and those
  // before them limb 3; the fraction's first 16 are limb 1 and the next 16 limb 0.
  constexpr size_t kLimbDigits = 16;
  uint64_t limbs[DecimalValue::kLimbs];
  const size_t lowCount = std::min(number.integerCount, kLimbDigits);
  limbs[2] = DigitRunValue(number.integer + number.integerCount - lowCount, lowCount, 0);
  limbs[3] = DigitRunValue(number.integer, number.integerCount - lowCount, 0);
  const size_t highCount = std::min(number.fractionCount, kLimbDigits);
  limbs[1] = DigitRunValue(number.fraction, highCount, kLimbDigits - highCount);
  limbs[0] = DigitRunValue(number.fraction + highCount, number.fractionCount - highCount, kLimbDigits - (number.fractionCount - highCount));
  return ValueFromMagnitude(limbs, number.negative);
}

size_t DecimalToText(const DecimalEntry& entry, char* buffer) {
  char* out = buffer;
  if (entry.sign != 0) {
    *out++ = '-';
  }
  const int highest = std::max<int>(entry.high, DecimalEntry::kUnits);
  for (int position = highest; position >= DecimalEntry::kUnits; --position) {
    *out++ = static_cast<char>('0' + entry.digits[position]);
  }
  if (entry.low < DecimalEntry::kUnits) {
    *out++ = '.';
    for (int position = DecimalEntry::kUnits - 1; position >= entry.low; --position) {
      *out++ = static_cast<char>('0' + entry.digits[position]);
    }
  }
  return static_cast<size_t>(out - buffer);
}

}  // namespace vel::values

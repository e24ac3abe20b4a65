#include "runtime/values/decimal_text.h"

#include <algorithm>

namespace vel::values {
namespace {

// Exponents beyond this move every digit out of the 64 positions, so larger ones need not be
// counted exactly (and cannot overflow the counter).
constexpr int kExponentLimit = 1000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

DecimalEntry DecimalFromText(const char* text, size_t length) {
  DecimalEntry entry = DecimalZero();
  if (text == nullptr) {
    return entry;
  }
  size_t i = 0;
  while (i < length && text[i] == ' ') {
    ++i;
  }
  bool negative = false;
  if (i < length && text[i] == '-') {
    negative = true;
    ++i;
  }
  const size_t integerStart = i;
  while (i < length && IsDigit(text[i])) {
    ++i;
  }
  const size_t integerEnd = i;
  const size_t integerCount = std::min<size_t>(integerEnd - integerStart, DecimalEntry::kUnits);
  for (size_t k = 0; k < integerCount; ++k) {
    entry.digits[DecimalEntry::kUnits + k] = static_cast<uint8_t>(text[integerEnd - 1 - k] - '0');
  }

  int exponent = 0;
  if (i < length && text[i] == '.') {
    ++i;
    int position = DecimalEntry::kUnits - 1;
    while (i < length && IsDigit(text[i])) {
      if (position >= 0) {
        entry.digits[position--] = static_cast<uint8_t>(text[i] - '0');
      }
      ++i;
    }
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
      ++i;
      bool negativeExponent = false;
      if (i < length && text[i] == '-') {
        negativeExponent = true;
        ++i;
      }
      while (i < length && IsDigit(text[i])) {
        exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentLimit);
        ++i;
      }
      if (negativeExponent) {
        exponent = -exponent;
      }
    }
  }
  entry.sign = negative ? 1 : 0;
  NormaliseDecimal(entry);
  ShiftDecimal(entry, exponent);
  return entry;
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

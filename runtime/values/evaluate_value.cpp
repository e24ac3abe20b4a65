#include "runtime/values/evaluate_value.h"

#include <cmath>

#include "runtime/values/decimal_float.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/number_conversions.h"
#include "runtime/values/reference_decimal.h"
#include "runtime/values/string_compare.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

namespace {

std::string PopAllText() {
  OwnedString owned;
  PopToOwned(owned);
  std::string text = owned.data == nullptr ? std::string() : std::string(owned.data, owned.length);
  FreeOwnedString(owned);
  return text;
}

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

}  // namespace

ExpressionValue ExpressionValue::Number(const DecimalEntry& number, int arithmeticType) {
  ExpressionValue value;
  value.number = number;
  value.arithmeticType = arithmeticType;
  return value;
}

ExpressionValue ExpressionValue::Integer(std::int64_t value) {
  bool negative = value < 0;
  std::uint64_t magnitude =
      negative ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return Number(DecimalFromUInt64(magnitude, negative), kArithmeticInteger);
}

ExpressionValue ExpressionValue::Real(double value) {
  return Number(DecimalFromFloat64(value), kArithmeticReal);
}

ExpressionValue ExpressionValue::Text(std::string text) {
  ExpressionValue value;
  value.isText = true;
  value.text = std::move(text);
  value.arithmeticType = kArithmeticText;
  return value;
}

DecimalEntry ValueAsNumber(const ExpressionValue& value) {
  if (!value.isText) return value.number;
  return DecimalFromText(value.text.data(), value.text.size());
}

double ValueAsReal(const ExpressionValue& value) {
  if (!value.isText) return DecimalToFloat64(value.number);
  return ReadFloat64Text(value.text.data(), value.text.size());
}

std::int64_t ValueAsInteger(const ExpressionValue& value) {
  DecimalEntry whole = TruncateDecimalEntry(ValueAsNumber(value));
  // Beyond 18 integer digits the value no longer fits 64 bits: saturate rather than wrap.
  if (whole.high >= DecimalEntry::kUnits + 18) {
    return whole.sign != 0 ? INT64_MIN : INT64_MAX;
  }
  std::int64_t magnitude = 0;
  for (int position = whole.high; position >= DecimalEntry::kUnits; --position) {
    magnitude = magnitude * 10 + whole.digits[position];
  }
  return whole.sign != 0 ? -magnitude : magnitude;
}

std::string ValueAsText(const ExpressionValue& value) {
  if (value.isText) return value.text;
  char text[kMaxDecimalTextLength];
  std::size_t length = DecimalToText(value.number, text);
  return std::string(text, length);
}

bool ValueIsTrue(const ExpressionValue& value) {
  if (!value.isText) return DecimalIsNonZero(value.number);
  return value.text.find_first_not_of(' ') != std::string::npos;
}

int CompareValues(const ExpressionValue& a, const ExpressionValue& b) {
  switch (CommonArithmeticType(a.arithmeticType, b.arithmeticType)) {
    case kArithmeticText: {
      std::string textA = ValueAsText(a);
      std::string textB = ValueAsText(b);
      return Sign(CompareStrings(textA.data(), static_cast<std::uint32_t>(textA.size()),
                                 textB.data(), static_cast<std::uint32_t>(textB.size())));
    }
    case kArithmeticReal: {
      double realA = ValueAsReal(a);
      double realB = ValueAsReal(b);
      return realA < realB ? -1 : (realB < realA ? 1 : 0);
    }
    default:
      return CompareDecimals(ValueAsNumber(a), ValueAsNumber(b));
  }
}

ExpressionValue ReadReference(ValueReference& reference) {
  int type = reference.ArithmeticType();
  switch (type) {
    case kArithmeticInteger:
      return ExpressionValue::Integer(reference.GetInt());
    case kArithmeticReal:
      return ExpressionValue::Real(reference.GetReal());
    case kArithmeticDecimal: {
      // The decimal text is exact and keeps the thread's decimal stack out of the way.
      reference.PushText();
      std::string text = PopAllText();
      return ExpressionValue::Number(DecimalFromText(text.data(), text.size()));
    }
    default: {
      reference.PushText();
      ExpressionValue value = ExpressionValue::Text(PopAllText());
      value.arithmeticType = type == kArithmeticPictured ? kArithmeticPictured : kArithmeticText;
      return value;
    }
  }
}

DecimalEntry TruncateDecimalEntry(const DecimalEntry& value) {
  DecimalEntry whole = value;
  for (int position = 0; position < DecimalEntry::kUnits; ++position) whole.digits[position] = 0;
  if (whole.low < DecimalEntry::kUnits) whole.low = DecimalEntry::kUnits;
  if (whole.high < DecimalEntry::kUnits) whole.high = DecimalEntry::kUnits;
  NormaliseDecimal(whole);
  return whole;
}

}  // namespace vel::values

#pragma once

#include <cstdint>
#include <string>

#include "runtime/values/decimal_entry.h"
#include "runtime/values/value_reference.h"

namespace vel::values {

/// The longest string an expression may produce; longer results are refused as invalid, so no
/// expression can make the evaluator allocate without bound.
inline constexpr std::size_t kMaxExpressionText = 65535;

/// One value met while evaluating an expression: an exact decimal number or a string, with the
/// arithmetic type that chooses how it compares with another value (10 for number literals and
/// arithmetic results, 18 for strings, a bound variable's own type, the result type of a
/// function).
struct ExpressionValue {
  bool isText = false;
  DecimalEntry number = DecimalZero();
  std::string text;
  int arithmeticType = kArithmeticDecimal;

  static ExpressionValue Number(const DecimalEntry& number, int arithmeticType = kArithmeticDecimal);
  static ExpressionValue Integer(std::int64_t value);
  /// A real result: placed on the decimal grid with 15 significant digits.
  static ExpressionValue Real(double value);
  static ExpressionValue Text(std::string text);
};

/// The value as a number: a string is read as decimal text (text without a number reads 0).
DecimalEntry ValueAsNumber(const ExpressionValue& value);
/// The value as a `Float64`.
double ValueAsReal(const ExpressionValue& value);
/// The value as an integer, fraction truncated, saturated to the 64-bit range.
std::int64_t ValueAsInteger(const ExpressionValue& value);
/// The value as a string: a number in its decimal text form.
std::string ValueAsText(const ExpressionValue& value);
/// True for a nonzero number or a string that is not all blanks.
bool ValueIsTrue(const ExpressionValue& value);
/// Orders `a` against `b` (-1, 0, 1) in their common type: strings with the collating rules,
/// reals as `Float64`, integers and decimals exactly.
int CompareValues(const ExpressionValue& a, const ExpressionValue& b);
/// The current value of a bound variable.
ExpressionValue ReadReference(ValueReference& reference);

/// Drops the fraction of `value` (toward zero).
DecimalEntry TruncateDecimalEntry(const DecimalEntry& value);

}  // namespace vel::values

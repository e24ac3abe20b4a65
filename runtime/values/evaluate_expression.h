#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/values/evaluate_value.h"

namespace vel::values {

/// The outcome of evaluating one expression.
struct EvaluationResult {
  /// 0 on success, 800 for text that is not a valid expression (syntax, an unknown function, a
  /// wrong number of arguments, a result out of range), 801 for a name that is not bound.
  int errorCode = 0;
  /// What went wrong, for messages (empty on success).
  std::string problem;
  /// Offset in the expression text where it went wrong.
  std::size_t position = 0;
  ExpressionValue value;
};

/// Evaluates `expression` against the calling thread's name bindings: bound variables by name
/// without regard to case (see `LookUpName`), the built-in functions by name unless a binding
/// replaced them. Numbers are exact decimals; strings are quoted with ' ('' for a quote).
/// Nothing is reported to the error state (see `Evaluate`).
EvaluationResult EvaluateText(std::string_view expression);

/// EVALUATE: pops the expression text from the string stack and pushes the result as text (a
/// number in its decimal text form). On failure it pushes the empty value and sets the error
/// state to 800 "Invalid expression for EVALUATE" or 801 "No BIND on variable".
void Evaluate();

/// The text of a result as EVALUATE pushes it.
std::string ResultText(const EvaluationResult& result);

}  // namespace vel::values

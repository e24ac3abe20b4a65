#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/values/expression_lexer.h"
#include "runtime/values/expression_tree.h"

namespace vel::values {

/// The outcome of parsing: the tree, or the reason the text is not an expression.
struct ParseResult {
  std::unique_ptr<ExpressionNode> tree;
  /// Why parsing failed (empty on success) and where.
  std::string problem;
  std::size_t position = 0;
};

/// Parses expression text into a tree. From lowest to highest precedence: OR and XOR; AND; NOT;
/// the comparisons = <> < > <= >=; & (concatenation); + and -; *, / and %; unary - and +; ^
/// (right to left, so 2^3^2 is 2^9 and -2^2 is -4). Binary operators of one level group left to
/// right. Text longer than kMaxExpressionLength or nested deeper than kMaxExpressionNesting is
/// refused.
ParseResult ParseExpression(std::string_view text);

}  // namespace vel::values

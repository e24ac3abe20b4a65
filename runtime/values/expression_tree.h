#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace vel::values {

/// Limits that keep any expression text from running away: the longest text accepted and the
/// deepest nesting of parentheses, function calls, unary operators and powers.
inline constexpr std::size_t kMaxExpressionLength = 4096;
inline constexpr int kMaxExpressionNesting = 64;

/// What an expression node computes.
enum class ExpressionOp {
  kNumber,   ///< `text` holds the literal digits.
  kString,   ///< `text` holds the literal characters.
  kName,     ///< `text` holds the name: a bound variable or a function without arguments.
  kCall,     ///< `text` holds the function name; `operands` its arguments.
  kNegate,
  kNot,
  kPower,
  kChain,    ///< operands[0] op[0] operands[1] op[1] operands[2] ... evaluated left to right.
};

/// A binary operator of a chain.
enum class ChainOp {
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kModulo,
  kConcat,
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
  kAnd,
  kOr,
  kXor,
};

/// One node of a parsed expression. Operators of equal precedence written one after another are
/// kept in one chain node, so a long sum adds no depth; only real nesting does, and the parser
/// bounds that.
struct ExpressionNode {
  ExpressionOp op = ExpressionOp::kNumber;
  std::string text;
  std::vector<std::unique_ptr<ExpressionNode>> operands;
  std::vector<ChainOp> chainOps;
  /// Offset of the node's first character in the expression text (for messages).
  std::size_t position = 0;
};

}  // namespace vel::values

#include "runtime/values/expression_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace vel::values {
namespace {

const char* ChainName(ChainOp op) {
  switch (op) {
    case ChainOp::kAdd: return "+";
    case ChainOp::kSubtract: return "-";
    case ChainOp::kMultiply: return "*";
    case ChainOp::kDivide: return "/";
    case ChainOp::kModulo: return "%";
    case ChainOp::kConcat: return "&";
    case ChainOp::kEqual: return "=";
    case ChainOp::kNotEqual: return "<>";
    case ChainOp::kLess: return "<";
    case ChainOp::kGreater: return ">";
    case ChainOp::kLessEqual: return "<=";
    case ChainOp::kGreaterEqual: return ">=";
    case ChainOp::kAnd: return "AND";
    case ChainOp::kOr: return "OR";
    case ChainOp::kXor: return "XOR";
  }
  return "?";
}

/// The tree written back fully parenthesised, to make grouping visible.
std::string Show(const ExpressionNode& node) {
  switch (node.op) {
    case ExpressionOp::kNumber:
    case ExpressionOp::kName:
      return node.text;
    case ExpressionOp::kString:
      return "'" + node.text + "'";
    case ExpressionOp::kNegate:
      return "(-" + Show(*node.operands[0]) + ")";
    case ExpressionOp::kNot:
      return "(NOT " + Show(*node.operands[0]) + ")";
    case ExpressionOp::kPower:
      return "(" + Show(*node.operands[0]) + "^" + Show(*node.operands[1]) + ")";
    case ExpressionOp::kCall: {
      std::string text = node.text + "(";
      for (std::size_t i = 0; i < node.operands.size(); ++i) {
        text += (i > 0 ? "," : "") + Show(*node.operands[i]);
      }
      return text + ")";
    }
    case ExpressionOp::kChain: {
      std::string text = "(" + Show(*node.operands[0]);
      for (std::size_t i = 0; i < node.chainOps.size(); ++i) {
        text += std::string(" ") + ChainName(node.chainOps[i]) + " " + Show(*node.operands[i + 1]);
      }
      return text + ")";
    }
  }
  return "?";
}

std::string Parse(const std::string& text) {
  ParseResult result = ParseExpression(text);
  if (result.tree == nullptr) return "error: " + result.problem + " @" + std::to_string(result.position);
  return Show(*result.tree);
}

TEST(ExpressionParser, PrecedenceAndGrouping) {
  struct Case {
    const char* text;
    const char* tree;
  } cases[] = {
      {"1+2*3", "(1 + (2 * 3))"},
      {"(1+2)*3", "((1 + 2) * 3)"},
      {"1-2-3", "(1 - 2 - 3)"},
      {"2^3^2", "(2^(3^2))"},
      {"-2^2", "(-(2^2))"},
      {"2^-1", "(2^(-1))"},
      {"- -3", "(-(-3))"},
      {"+4", "4"},
      {"a & b + 1", "(a & (b + 1))"},
      {"a & b = 'x'", "((a & b) = 'x')"},
      {"1 < 2 AND 3 >= 4 OR 5 <> 6", "(((1 < 2) AND (3 >= 4)) OR (5 <> 6))"},
      {"NOT a = b", "(NOT (a = b))"},
      {"a xor b and c", "(a XOR (b AND c))"},
      {"x <= y", "(x <= y)"},
      {"7 % 3 / 2", "(7 % 3 / 2)"},
      {"Cust:Name$ & 'it''s'", "(Cust:Name$ & 'it's')"},
      {"SUB('abc', 2, 1)", "SUB('abc',2,1)"},
      {"today()", "today()"},
      {"CHOOSE(2, 'a', 'b' & 'c')", "CHOOSE(2,'a',('b' & 'c'))"},
      {" .5 * 10. ", "(.5 * 10.)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.tree) << c.text;
}

TEST(ExpressionParser, SyntaxErrorsSayWhatAndWhere) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "error: unexpected end of expression @0"},
      {"1 +", "error: unexpected end of expression @3"},
      {"(1", "error: missing ) @2"},
      {"1)", "error: unexpected text after the end @1"},
      {"1 2", "error: unexpected text after the end @2"},
      {"'abc", "error: unterminated string @0"},
      {"12abc", "error: malformed number @0"},
      {"1.2.3", "error: malformed number @0"},
      {"a # b", "error: unexpected character @2"},
      {"f(1,", "error: unexpected end of expression @4"},
      {"f(1 2)", "error: missing ) after arguments @4"},
      {"* 3", "error: operand expected @0"},
      {"AND", "error: operand expected @0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.error) << c.text;
}

TEST(ExpressionParser, NestingAndLengthAreBounded) {
  std::string nested = std::string(kMaxExpressionNesting - 1, '(') + "1" +
                       std::string(kMaxExpressionNesting - 1, ')');
  EXPECT_EQ(Parse(nested), "1");
  std::string tooDeep = "(" + nested + ")";
  EXPECT_EQ(Parse(tooDeep).rfind("error: expression nested too deeply", 0), 0u);
  EXPECT_EQ(Parse(std::string(1000, '-') + "1").rfind("error: expression nested too deeply", 0), 0u);
  std::string negations;
  for (int i = 0; i < 100; ++i) negations += "NOT ";
  EXPECT_EQ(Parse(negations + "1").rfind("error: expression nested too deeply", 0), 0u);
  // A long flat sum is one chain: its length costs no depth.
  std::string sum = "1";
  while (sum.size() + 2 <= kMaxExpressionLength) sum += "+1";
  ParseResult flat = ParseExpression(sum);
  ASSERT_NE(flat.tree, nullptr);
  EXPECT_EQ(flat.tree->operands.size(), (sum.size() + 1) / 2);
  EXPECT_EQ(Parse(sum + "+1"), "error: expression too long @4096");
}

}  // namespace
}  // namespace vel::values

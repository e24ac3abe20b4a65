#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vel::values {

/// Kinds of expression tokens.
enum class TokenKind {
  kEnd,
  kNumber,
  kString,
  kName,
  kAnd,
  kOr,
  kXor,
  kNot,
  kPlus,
  kMinus,
  kStar,
  kSlash,
  kPercent,
  kCaret,
  kAmpersand,
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
  kOpenParen,
  kCloseParen,
  kComma,
  kInvalid,
};

/// One token: its kind, its text (the digits of a number, the characters of a string with
/// doubled quotes made single, a name as written) and its offset in the expression.
struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;
  std::size_t position = 0;
  /// For kInvalid: why the text could not be read.
  const char* problem = nullptr;
};

/// Splits expression text into tokens. Blanks, tabs and line ends separate tokens; names are
/// letters, digits, "_" and ":" with one optional "#", "$" or double quote at the end (the names
/// `BindName` keeps); the operator keywords AND, OR, XOR and NOT are recognised in any case.
class ExpressionLexer {
 public:
  explicit ExpressionLexer(std::string_view text) : m_text(text) {}

  /// Reads the next token; at the end of the text it keeps answering kEnd.
  Token Next();

 private:
  Token ReadNumber();
  Token ReadString();
  Token ReadName();

  std::string_view m_text;
  std::size_t m_position = 0;
};

}  // namespace vel::values

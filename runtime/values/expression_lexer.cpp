#include "runtime/values/expression_lexer.h"

#include "runtime/values/binding_table.h"

namespace vel::values {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNamePart(char c) { return IsBindingNameCharacter(static_cast<unsigned char>(c)); }

bool IsNameStart(char c) { return IsNamePart(c) && !IsDigit(c) && c != ':'; }

bool EqualsNoCase(std::string_view text, const char* keyword) {
  std::size_t i = 0;
  for (; keyword[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != keyword[i]) return false;
  }
  return i == text.size();
}

}  // namespace

Token ExpressionLexer::Next() {
  while (m_position < m_text.size() && IsBlank(m_text[m_position])) ++m_position;
  Token token;
  token.position = m_position;
  if (m_position >= m_text.size()) return token;

  char c = m_text[m_position];
  if (IsDigit(c) || (c == '.' && m_position + 1 < m_text.size() && IsDigit(m_text[m_position + 1]))) {
    return ReadNumber();
  }
  if (c == '\'') return ReadString();
  if (IsNameStart(c)) return ReadName();

  char following = m_position + 1 < m_text.size() ? m_text[m_position + 1] : '\0';
  ++m_position;
  switch (c) {
    case '+': token.kind = TokenKind::kPlus; break;
    case '-': token.kind = TokenKind::kMinus; break;
    case '*': token.kind = TokenKind::kStar; break;
    case '/': token.kind = TokenKind::kSlash; break;
    case '%': token.kind = TokenKind::kPercent; break;
    case '^': token.kind = TokenKind::kCaret; break;
    case '&': token.kind = TokenKind::kAmpersand; break;
    case '(': token.kind = TokenKind::kOpenParen; break;
    case ')': token.kind = TokenKind::kCloseParen; break;
    case ',': token.kind = TokenKind::kComma; break;
    case '=': token.kind = TokenKind::kEqual; break;
    case '<':
      if (following == '>') {
        token.kind = TokenKind::kNotEqual;
        ++m_position;
      } else if (following == '=') {
        token.kind = TokenKind::kLessEqual;
        ++m_position;
      } else {
        token.kind = TokenKind::kLess;
      }
      break;
    case '>':
      if (following == '=') {
        token.kind = TokenKind::kGreaterEqual;
        ++m_position;
      } else {
        token.kind = TokenKind::kGreater;
      }
      break;
    default:
      token.kind = TokenKind::kInvalid;
      token.problem = "unexpected character";
      break;
  }
  return token;
}

Token ExpressionLexer::ReadNumber() {
  Token token;
  token.kind = TokenKind::kNumber;
  token.position = m_position;
  std::size_t start = m_position;
  while (m_position < m_text.size() && IsDigit(m_text[m_position])) ++m_position;
  if (m_position < m_text.size() && m_text[m_position] == '.') {
    ++m_position;
    while (m_position < m_text.size() && IsDigit(m_text[m_position])) ++m_position;
  }
  token.text.assign(m_text.substr(start, m_position - start));
  // A number running straight into a name ("12abc") is a typing mistake, not two tokens.
  if (m_position < m_text.size() && (IsNamePart(m_text[m_position]) || m_text[m_position] == '.')) {
    token.kind = TokenKind::kInvalid;
    token.problem = "malformed number";
  }
  return token;
}

Token ExpressionLexer::ReadString() {
  Token token;
  token.kind = TokenKind::kString;
  token.position = m_position;
  ++m_position;
  for (;;) {
    if (m_position >= m_text.size()) {
      token.kind = TokenKind::kInvalid;
      token.problem = "unterminated string";
      return token;
    }
    char c = m_text[m_position++];
    if (c != '\'') {
      token.text.push_back(c);
      continue;
    }
    if (m_position < m_text.size() && m_text[m_position] == '\'') {
      token.text.push_back('\'');
      ++m_position;
      continue;
    }
    return token;
  }
}

Token ExpressionLexer::ReadName() {
  Token token;
  token.kind = TokenKind::kName;
  token.position = m_position;
  std::size_t start = m_position;
  while (m_position < m_text.size() && IsNamePart(m_text[m_position])) ++m_position;
  if (m_position < m_text.size()) {
    char c = m_text[m_position];
    if (c == '#' || c == '$' || c == '"') ++m_position;
  }
  std::string_view name = m_text.substr(start, m_position - start);
  if (EqualsNoCase(name, "AND")) {
    token.kind = TokenKind::kAnd;
  } else if (EqualsNoCase(name, "OR")) {
    token.kind = TokenKind::kOr;
  } else if (EqualsNoCase(name, "XOR")) {
    token.kind = TokenKind::kXor;
  } else if (EqualsNoCase(name, "NOT")) {
    token.kind = TokenKind::kNot;
  }
  token.text.assign(name);
  return token;
}

}  // namespace vel::values

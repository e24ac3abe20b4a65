#include "tools/vel-rc/script_lexer.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "tools/vel-rc/resource_script.h"

namespace vel::tools {
namespace {

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// strchr would also match the terminator, so a NUL byte is tested apart.
bool IsOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void ScriptLexer::Fail(const std::string& message) const {
  throw ScriptError(m_fileName + ":" + std::to_string(m_line) + ": " + message);
}

void ScriptLexer::SkipBlanksAndComments() {
  while (m_position < m_text.size()) {
    char c = m_text[m_position];
    if (c == '\n') {
      ++m_line;
      ++m_position;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++m_position;
    } else if (m_text.compare(m_position, 2, "//") == 0) {
      while (m_position < m_text.size() && m_text[m_position] != '\n') ++m_position;
    } else if (m_text.compare(m_position, 2, "/*") == 0) {
      size_t close = m_text.find("*/", m_position + 2);
      if (close == std::string::npos) Fail("comment not closed");
      for (size_t i = m_position; i < close; ++i) m_line += m_text[i] == '\n';
      m_position = close + 2;
    } else {
      return;
    }
  }
}

Token ScriptLexer::Next() {
  SkipBlanksAndComments();
  Token token;
  token.line = m_line;
  if (m_position >= m_text.size()) return token;
  char c = m_text[m_position];
  if ((c == 'L' || c == 'l') && m_position + 1 < m_text.size() && m_text[m_position + 1] == '"') {
    ++m_position;
    return ReadString(true);
  }
  if (c == '"') return ReadString(false);
  if (IsNameStart(c)) {
    size_t begin = m_position;
    while (m_position < m_text.size() && IsNameChar(m_text[m_position])) ++m_position;
    token.kind = Token::Kind::Name;
    token.text = m_text.substr(begin, m_position - begin);
    return token;
  }
  if (std::isdigit(static_cast<unsigned char>(c))) {
    token.kind = Token::Kind::Number;
    uint64_t value = 0;
    int base = 10;
    if (c == '0' && m_position + 1 < m_text.size() && (m_text[m_position + 1] == 'x' || m_text[m_position + 1] == 'X')) {
      base = 16;
      m_position += 2;
    }
    size_t digits = 0;
    for (; m_position < m_text.size(); ++m_position, ++digits) {
      int digit = HexValue(m_text[m_position]);
      if (digit < 0 || digit >= base) break;
      value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFull) Fail("number too large");
    }
    if (digits == 0) Fail("hexadecimal number without digits");
    while (m_position < m_text.size() && IsOneOf(m_text[m_position], "LlUu")) {
      token.isLong = token.isLong || m_text[m_position] == 'L' || m_text[m_position] == 'l';
      ++m_position;
    }
    if (m_position < m_text.size() && IsNameChar(m_text[m_position])) Fail("malformed number");
    token.number = static_cast<uint32_t>(value);
    return token;
  }
  if (IsOneOf(c, ",{}()|&+-~")) {
    token.kind = Token::Kind::Punctuation;
    token.text = std::string(1, c);
    ++m_position;
    return token;
  }
  char shown[8];
  std::snprintf(shown, sizeof shown, std::isprint(static_cast<unsigned char>(c)) ? "%c" : "\\x%02X",
                static_cast<unsigned char>(c));
  Fail(std::string("unexpected character '") + shown + "'");
}

Token ScriptLexer::ReadString(bool wide) {
  Token token;
  token.kind = Token::Kind::String;
  token.isWide = wide;
  token.line = m_line;
  ++m_position;  // The opening quote.
  std::string& out = token.text;
  for (;;) {
    if (m_position >= m_text.size() || m_text[m_position] == '\n') Fail("string not closed");
    char c = m_text[m_position++];
    if (c == '"') {
      // A doubled quote stands for one quote character.
      if (m_position < m_text.size() && m_text[m_position] == '"') {
        out += '"';
        ++m_position;
        continue;
      }
      return token;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (m_position >= m_text.size()) Fail("string not closed");
    char escape = m_text[m_position++];
    switch (escape) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'a': out += '\a'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'v': out += '\v'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case '\'': out += '\''; break;
      case '?': out += '?'; break;
      case 'x': {
        int value = 0;
        int count = 0;
        while (count < 2 && m_position < m_text.size() && HexValue(m_text[m_position]) >= 0) {
          value = value * 16 + HexValue(m_text[m_position++]);
          ++count;
        }
        if (count == 0) Fail("\\x without hexadecimal digits");
        out += static_cast<char>(value);
        break;
      }
      default:
        if (escape >= '0' && escape <= '7') {
          int value = escape - '0';
          for (int count = 1; count < 3 && m_position < m_text.size() && m_text[m_position] >= '0' &&
                              m_text[m_position] <= '7';
               ++count) {
            value = value * 8 + (m_text[m_position++] - '0');
          }
          out += static_cast<char>(value & 0xFF);
        } else {
          Fail(std::string("unknown escape \\") + escape);
        }
    }
  }
}

}  // namespace vel::tools

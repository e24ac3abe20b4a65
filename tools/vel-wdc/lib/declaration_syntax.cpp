#include "tools/vel-wdc/lib/declaration_syntax.h"

#include <cctype>

namespace vel::tools {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void RequireNoZeroByte(std::string_view text, int line) {
  if (text.find('\0') != std::string_view::npos) {
    throw DeclarationError(line, "a text may not hold a zero byte: " + QuoteString(text));
  }
}

namespace {

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == '$' || c == ':';
}

class LineScanner {
 public:
  LineScanner(std::string_view text, int number) : m_text(text), m_line(number) {}

  Line Scan() {
    Line line;
    line.number = m_line;
    SkipSpace();
    if (AtEnd()) return line;
    line.keyword = Word();
    if (line.keyword.empty()) Fail("a line starts with a keyword");
    SkipSpace();
    if (Peek() == '"') line.lead = ScanString();
    for (SkipSpace(); !AtEnd(); SkipSpace()) line.items.push_back(ScanItem());
    return line;
  }

 private:
  bool AtEnd() const { return m_pos >= m_text.size() || m_text[m_pos] == '#'; }
  char Peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }
  [[noreturn]] void Fail(const std::string& message) const { throw DeclarationError(m_line, message); }

  void SkipSpace() {
    while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
  }

  std::string Word() {
    std::size_t start = m_pos;
    while (m_pos < m_text.size()) {
      char c = m_text[m_pos];
      if (!IsWordChar(c) && !(c == '+' && InDecimalExponent(start))) break;
      ++m_pos;
    }
    return std::string(m_text.substr(start, m_pos - start));
  }

  // A "+" right after the "e" of a decimal number ("1e+300") belongs to the number, not the
  // flag joiner.
  bool InDecimalExponent(std::size_t start) const {
    std::string_view word = m_text.substr(start, m_pos - start);
    if (word.empty() || (word.back() != 'e' && word.back() != 'E')) return false;
    if (word.front() == '-') word.remove_prefix(1);
    if (word.empty() || !std::isdigit(static_cast<unsigned char>(word.front()))) return false;
    return word.find_first_of("xX") == std::string_view::npos;
  }

  void Expect(char c) {
    SkipSpace();
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    ++m_pos;
  }

  Item ScanItem() {
    Item item;
    item.name = Word();
    if (item.name.empty()) Fail("expected an item name");
    Expect('(');
    SkipSpace();
    if (Peek() == ')') {
      ++m_pos;
      return item;
    }
    while (true) {
      item.arguments.push_back(ScanArgument());
      SkipSpace();
      if (Peek() == ')') {
        ++m_pos;
        return item;
      }
      Expect(',');
    }
  }

  Argument ScanArgument() {
    Argument argument;
    while (true) {
      SkipSpace();
      argument.push_back(ScanAtom());
      SkipSpace();
      if (Peek() != '+') return argument;
      ++m_pos;
    }
  }

  Atom ScanAtom() {
    char c = Peek();
    if (c == '"') return Atom{Atom::Kind::String, ScanString()};
    std::string word = Word();
    if (word.empty()) Fail("expected a string, number or name");
    bool numeric = std::isdigit(static_cast<unsigned char>(word[0])) ||
                   (word[0] == '-' && word.size() > 1 && std::isdigit(static_cast<unsigned char>(word[1])));
    return Atom{numeric ? Atom::Kind::Number : Atom::Kind::Word, word};
  }

  std::string ScanString() {
    ++m_pos;
    std::string bytes;
    while (true) {
      if (m_pos >= m_text.size()) Fail("unterminated string");
      char c = m_text[m_pos++];
      if (c == '"') return bytes;
      if (c != '\\') {
        bytes += c;
        continue;
      }
      if (m_pos >= m_text.size()) Fail("unterminated string");
      char escaped = m_text[m_pos++];
      if (escaped == 'x') {
        int high = m_pos < m_text.size() ? HexValue(m_text[m_pos]) : -1;
        int low = m_pos + 1 < m_text.size() ? HexValue(m_text[m_pos + 1]) : -1;
        if (high < 0 || low < 0) Fail("\\x needs two hexadecimal digits");
        bytes += static_cast<char>(high * 16 + low);
        m_pos += 2;
      } else if (escaped == '"' || escaped == '\\') {
        bytes += escaped;
      } else {
        Fail(std::string("unknown escape \\") + escaped);
      }
    }
  }

  std::string_view m_text;
  int m_line;
  std::size_t m_pos = 0;
};

}  // namespace

DeclarationError::DeclarationError(int line, const std::string& message)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + message : message), m_line(line) {}

Line ParseLine(std::string_view text, int number) { return LineScanner(text, number).Scan(); }

std::string QuoteString(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string quoted = "\"";
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte >= 0x20 && byte < 0x7F) {
      quoted += c;
    } else {
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 15];
    }
  }
  quoted += '"';
  return quoted;
}

}  // namespace vel::tools

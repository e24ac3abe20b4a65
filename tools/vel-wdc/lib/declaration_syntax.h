#pragma once
// The lexical side of declaration text: one line is a keyword followed by items written
// name(arg, arg, ...), where an argument is one or more atoms joined by "+" and an atom is a
// quoted string, a number or a word. "#" starts a comment outside strings.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vel::tools {

/// A fault in declaration text or in a resource, with the line it was found on (0 = none).
class DeclarationError : public std::runtime_error {
 public:
  DeclarationError(int line, const std::string& message);
  int Line() const { return m_line; }

 private:
  int m_line;
};

struct Atom {
  enum class Kind { String, Number, Word };
  Kind kind;
  std::string text;  ///< a string's bytes with escapes resolved; a number or word as written
};

/// One argument: atoms joined by "+".
using Argument = std::vector<Atom>;

struct Item {
  std::string name;
  std::vector<Argument> arguments;
};

/// One declaration line: keyword, an optional quoted string right after it (a window's label,
/// a control's text, the qualified name of "definition") and items. A blank or comment-only
/// line has no keyword.
struct Line {
  int number = 0;
  std::string keyword;
  std::optional<std::string> lead;
  std::vector<Item> items;
};

/// Splits one line of text into keyword and items; throws DeclarationError on bad syntax.
Line ParseLine(std::string_view text, int number);

/// Throws DeclarationError for a text that holds a zero byte: texts are stored zero-terminated,
/// so it would end there and the rest would be lost.
void RequireNoZeroByte(std::string_view text, int line);

/// The value of a hexadecimal digit, or -1.
int HexValue(char c);

/// A string quoted for declaration text: printable ASCII as is, `"` and `\` escaped, any other
/// byte as \xNN.
std::string QuoteString(std::string_view bytes);

}  // namespace vel::tools

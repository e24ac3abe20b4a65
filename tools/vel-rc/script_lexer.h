#pragma once
// Splits preprocessed resource script text into tokens: names, numbers, quoted strings and
// punctuation; comments are skipped.

#include <cstdint>
#include <string>

namespace vel::tools {

struct Token {
  enum class Kind { End, Name, Number, String, Punctuation };
  Kind kind = Kind::End;
  std::string text;      ///< Name, punctuation, or the string's bytes with escapes resolved.
  uint32_t number = 0;   ///< A number's value.
  bool isLong = false;   ///< A number with an L suffix (a 32-bit item in data blocks).
  bool isWide = false;   ///< A string with an L prefix.
  int line = 0;
};

class ScriptLexer {
 public:
  ScriptLexer(const std::string& text, std::string fileName) : m_text(text), m_fileName(std::move(fileName)) {}

  /// The next token; Kind::End at the end of the text. Throws ScriptError for a bad token.
  Token Next();

 private:
  [[noreturn]] void Fail(const std::string& message) const;
  void SkipBlanksAndComments();
  Token ReadString(bool wide);

  const std::string& m_text;
  std::string m_fileName;
  size_t m_position = 0;
  int m_line = 1;
};

}  // namespace vel::tools

#pragma once
// Parses a resource script: resources that name a file (ICON, CURSOR, BITMAP, RCDATA and
// user-defined types such as VIZORAR or IMAGE), data blocks written in the script, STRINGTABLE
// blocks with BEGIN/END or braces, DIALOG and DIALOGEX, LANGUAGE, and integer expressions over
// #define names (and, in dialogs, the standard style names).

#include <map>
#include <string>

#include "tools/vel-rc/dialog_template_writer.h"
#include "tools/vel-rc/resource_script.h"
#include "tools/vel-rc/script_lexer.h"

namespace vel::tools {

/// Preprocesses and parses a whole script. Throws ScriptError with file and line.
ResourceScript ParseResourceScript(const std::string& text, const std::string& fileName, const FileReader& reader);

class ScriptParser {
 public:
  ScriptParser(const std::string& text, std::string fileName, const std::map<std::string, std::string>& defines,
               int codePage);

  ResourceScript Parse();
  /// Parses into `script`, which may already hold what other scripts declared: a resource or
  /// string declared again is a fault naming where it came first.
  void ParseInto(ResourceScript& script);

  /// Evaluates the whole text as one integer expression (used for #define values).
  uint32_t EvaluateExpression(int depth);

 private:
  void Advance() { m_current = m_lexer.Next(); }
  bool IsName(const char* name) const;
  bool IsPunctuation(char c) const;
  [[noreturn]] void Fail(const std::string& message) const;
  void Expect(char punctuation);

  uint32_t Expression(int depth);
  uint32_t Term(int depth);
  uint32_t DefineValue(const std::string& name, int depth);
  ResourceId ParseNameOrNumber();
  ResourceId ParseType();
  void SkipMemoryOptions();
  bool AtBlockStart() const;
  bool AtBlockEnd() const;
  std::u16string ToUtf16(const Token& token) const;

  void ParseStringTable(ResourceScript& script);
  /// Where an earlier declaration stands, for a duplicate's message.
  std::string FirstAt(const std::string& scriptName, int line) const;
  /// DIALOG and DIALOGEX (dialog_statement_parser.cpp); the current token is the keyword.
  void ParseDialog(ResourceScript& script, ScriptResource resource, bool extended);
  DialogControlScript ParseDialogControl(bool extended);
  /// Styles joined with "|", where "NOT name" removes bits from the defaults.
  uint32_t StyleExpression(uint32_t defaults);
  std::string ParseDataBlock();

  std::string m_fileName;
  ScriptLexer m_lexer;
  const std::map<std::string, std::string>& m_defines;
  int m_codePage;
  Token m_current;
  uint16_t m_language = 0;
};

}  // namespace vel::tools

#pragma once
// The part of the C preprocessor that resource scripts use: #define of names, #include of
// headers (of which only the directives count, as for the original tool) and of other resource
// scripts (".rc", ".dlg": their resources count too), #ifdef, #ifndef, #if with a number,
// #else, #endif, #undef, #error and #pragma code_page. Directive lines and lines in skipped
// blocks become empty, so line numbers stay those of each script.

#include <map>
#include <string>
#include <vector>

#include "tools/vel-rc/resource_script.h"

namespace vel::tools {

class ScriptPreprocessor {
 public:
  ScriptPreprocessor(std::string scriptName, FileReader reader);

  /// The script text with every directive applied and blanked.
  std::string Run(const std::string& text);

  /// A resource script the script includes, preprocessed like the script itself.
  struct IncludedScript {
    std::string name;
    std::string text;
  };
  /// The resource scripts included, in the order their #include lines came.
  const std::vector<IncludedScript>& IncludedScripts() const { return m_includedScripts; }

  /// Names defined so far, with their replacement text.
  const std::map<std::string, std::string>& Defines() const { return m_defines; }

  /// The code page the script's strings are written in: 1252 unless a pragma said 65001.
  int CodePage() const { return m_codePage; }

 private:
  struct Conditional {
    bool active;      ///< Lines of the current branch count.
    bool taken;       ///< Some branch of this #if was already active.
    bool outerActive; ///< The enclosing block was active.
  };

  std::string Process(const std::string& text, const std::string& fileName, bool keepText, int depth);
  void Directive(const std::string& line, const std::string& fileName, int lineNumber, int depth);
  bool Active() const { return m_conditionals.empty() || m_conditionals.back().active; }
  [[noreturn]] void Fail(const std::string& fileName, int line, const std::string& message) const;

  std::string m_scriptName;
  FileReader m_reader;
  std::map<std::string, std::string> m_defines;
  std::vector<Conditional> m_conditionals;
  std::vector<IncludedScript> m_includedScripts;
  int m_codePage = 1252;
};

}  // namespace vel::tools

#include "tools/vel-rc/script_preprocessor.h"

#include <cctype>
#include <cstdlib>

namespace vel::tools {
namespace {

constexpr int kMaxIncludeDepth = 16;

// Included resource scripts count whole; any other included file (a header) only for its
// directives.
bool IsResourceScriptName(const std::string& name) {
  std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == "rc" || extension == "dlg";
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return {};
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

// Splits "word rest" into the word and the trimmed rest.
std::pair<std::string, std::string> SplitWord(const std::string& text) {
  size_t end = 0;
  while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
  return {text.substr(0, end), Trim(text.substr(end))};
}

// Removes // and /* */ comments from one directive line.
std::string StripComments(const std::string& text) {
  std::string out;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      out += c;
      if (c == '\\' && i + 1 < text.size()) out += text[++i];
      else if (c == '"') inString = false;
      continue;
    }
    if (c == '"') inString = true;
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') break;
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      size_t close = text.find("*/", i + 2);
      if (close == std::string::npos) break;
      i = close + 1;
      out += ' ';
      continue;
    }
    out += c;
  }
  return Trim(out);
}

}  // namespace

ScriptPreprocessor::ScriptPreprocessor(std::string scriptName, FileReader reader)
    : m_scriptName(std::move(scriptName)), m_reader(std::move(reader)) {}

void ScriptPreprocessor::Fail(const std::string& fileName, int line, const std::string& message) const {
  throw ScriptError(fileName + ":" + std::to_string(line) + ": " + message);
}

std::string ScriptPreprocessor::Run(const std::string& text) {
  m_conditionals.clear();
  m_includedScripts.clear();
  std::string result = Process(text, m_scriptName, true, 0);
  return result;
}

std::string ScriptPreprocessor::Process(const std::string& text, const std::string& fileName, bool keepText,
                                        int depth) {
  std::string out;
  out.reserve(keepText ? text.size() : 0);
  size_t conditionalsAtStart = m_conditionals.size();
  bool inComment = false;
  int lineNumber = 0;
  size_t position = 0;
  while (position < text.size()) {
    size_t end = text.find('\n', position);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(position, end - position);
    bool terminated = end < text.size();
    position = end + 1;
    ++lineNumber;
    int firstLine = lineNumber;

    std::string trimmed = Trim(line);
    if (!inComment && !trimmed.empty() && trimmed[0] == '#') {
      // A directive may continue over lines ending in a backslash; each becomes an empty line.
      int extraLines = 0;
      while (!line.empty() && (line.back() == '\\' || (line.back() == '\r' && line.size() > 1 &&
                                                         line[line.size() - 2] == '\\')) &&
             position < text.size()) {
        line.erase(line.find_last_of('\\'));
        end = text.find('\n', position);
        if (end == std::string::npos) end = text.size();
        line += text.substr(position, end - position);
        position = end + 1;
        ++extraLines;
      }
      lineNumber += extraLines;
      Directive(StripComments(Trim(line).substr(1)), fileName, firstLine, depth);
      if (keepText) out.append(static_cast<size_t>(extraLines) + 1, '\n');
      continue;
    }
    // Track block comments so that a "#" inside one is not taken for a directive.
    for (size_t i = 0; i + 1 < line.size(); ++i) {
      if (!inComment && line[i] == '/' && line[i + 1] == '/') break;
      if (!inComment && line[i] == '/' && line[i + 1] == '*') inComment = true, ++i;
      else if (inComment && line[i] == '*' && line[i + 1] == '/') inComment = false, ++i;
    }
    if (keepText) {
      if (Active()) out += line;
      if (terminated) out += '\n';
    }
  }
  if (m_conditionals.size() != conditionalsAtStart) Fail(fileName, lineNumber, "#if without #endif");
  return out;
}

void ScriptPreprocessor::Directive(const std::string& text, const std::string& fileName, int lineNumber, int depth) {
  auto [name, rest] = SplitWord(text);
  if (name == "ifdef" || name == "ifndef" || name == "if") {
    bool condition = false;
    if (name == "if") {
      char* end = nullptr;
      long value = std::strtol(rest.c_str(), &end, 0);
      if (rest.empty() || *end != '\0') {
        if (m_defines.count(rest) == 0) Fail(fileName, lineNumber, "#if supports only a number or a defined name");
        value = std::strtol(m_defines.at(rest).c_str(), &end, 0);
      }
      condition = value != 0;
    } else {
      condition = (m_defines.count(SplitWord(rest).first) != 0) == (name == "ifdef");
    }
    bool outer = Active();
    m_conditionals.push_back(Conditional{outer && condition, condition, outer});
    return;
  }
  if (name == "else" || name == "endif") {
    if (m_conditionals.empty()) Fail(fileName, lineNumber, "#" + name + " without #if");
    if (name == "endif") {
      m_conditionals.pop_back();
    } else {
      Conditional& current = m_conditionals.back();
      current.active = current.outerActive && !current.taken;
      current.taken = true;
    }
    return;
  }
  if (!Active()) return;
  if (name == "define") {
    auto [macro, value] = SplitWord(rest);
    if (macro.empty()) Fail(fileName, lineNumber, "#define without a name");
    // A function-like macro has no use in a resource script; it is left undefined.
    if (rest.size() > macro.size() && rest[macro.size()] == '(') return;
    m_defines[macro] = value;
  } else if (name == "undef") {
    m_defines.erase(SplitWord(rest).first);
  } else if (name == "include") {
    if (rest.size() < 2 || !((rest.front() == '"' && rest.back() == '"') || (rest.front() == '<' && rest.back() == '>'))) {
      Fail(fileName, lineNumber, "#include needs a quoted file name");
    }
    std::string included = rest.substr(1, rest.size() - 2);
    if (depth >= kMaxIncludeDepth) Fail(fileName, lineNumber, "#include nested too deeply");
    std::optional<std::string> content = m_reader(included);
    if (!content) Fail(fileName, lineNumber, "cannot read included file \"" + included + "\"");
    if (!IsResourceScriptName(included)) {
      Process(*content, included, false, depth + 1);
      return;
    }
    // Its resources are parsed as a script of its own, so its messages name its own lines.
    std::size_t slot = m_includedScripts.size();
    m_includedScripts.push_back(IncludedScript{included, {}});
    std::string kept = Process(*content, included, true, depth + 1);
    m_includedScripts[slot].text = std::move(kept);
  } else if (name == "pragma") {
    auto [pragma, argument] = SplitWord(rest);
    if (pragma == "code_page") {
      int page = std::atoi(argument.c_str() + (argument.empty() ? 0 : 1));
      if (page != 1252 && page != 65001) Fail(fileName, lineNumber, "only code pages 1252 and 65001 are supported");
      m_codePage = page;
    }
  } else if (name == "error") {
    Fail(fileName, lineNumber, "#error " + rest);
  } else if (name != "line" && !name.empty()) {
    Fail(fileName, lineNumber, "unsupported directive #" + name);
  }
}

}  // namespace vel::tools

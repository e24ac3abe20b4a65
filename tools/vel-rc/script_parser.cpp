#include "tools/vel-rc/script_parser.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "tools/vel-rc/script_preprocessor.h"

namespace vel::tools {
namespace {

constexpr int kMaxDefineDepth = 32;
constexpr size_t kMaxStringLength = 0xFFFF;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Windows-1252 bytes 0x80-0x9F in Unicode; the rest of the code page equals Latin-1.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const std::set<std::string> kUnsupportedStatements = {
    "MENU", "MENUEX", "ACCELERATORS", "VERSIONINFO", "FONT", "HTML",
    "MESSAGETABLE", "DLGINCLUDE", "TEXTINCLUDE", "TOOLBAR", "DLGINIT", "ANICURSOR", "ANIICON"};

const std::set<std::string> kMemoryOptions = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE",  "DISCARDABLE",
                                              "PURE",    "IMPURE",     "SHARED", "NONSHARED"};

}  // namespace

ResourceScript ParseResourceScript(const std::string& text, const std::string& fileName, const FileReader& reader) {
  ScriptPreprocessor preprocessor(fileName, reader);
  std::string preprocessed = preprocessor.Run(text);
  ResourceScript script;
  ScriptParser(preprocessed, fileName, preprocessor.Defines(), preprocessor.CodePage()).ParseInto(script);
  for (const ScriptPreprocessor::IncludedScript& included : preprocessor.IncludedScripts()) {
    ScriptParser(included.text, included.name, preprocessor.Defines(), preprocessor.CodePage()).ParseInto(script);
  }
  return script;
}

ScriptParser::ScriptParser(const std::string& text, std::string fileName,
                           const std::map<std::string, std::string>& defines, int codePage)
    : m_fileName(fileName), m_lexer(text, std::move(fileName)), m_defines(defines), m_codePage(codePage) {
  Advance();
}

bool ScriptParser::IsName(const char* name) const {
  return m_current.kind == Token::Kind::Name && Upper(m_current.text) == name;
}

bool ScriptParser::IsPunctuation(char c) const {
  return m_current.kind == Token::Kind::Punctuation && m_current.text[0] == c;
}

void ScriptParser::Fail(const std::string& message) const {
  throw ScriptError(m_fileName + ":" + std::to_string(m_current.line) + ": " + message);
}

void ScriptParser::Expect(char punctuation) {
  if (!IsPunctuation(punctuation)) Fail(std::string("expected '") + punctuation + "'");
  Advance();
}

bool ScriptParser::AtBlockStart() const { return IsName("BEGIN") || IsPunctuation('{'); }
bool ScriptParser::AtBlockEnd() const { return IsName("END") || IsPunctuation('}'); }

uint32_t ScriptParser::EvaluateExpression(int depth) {
  uint32_t value = Expression(depth);
  if (m_current.kind != Token::Kind::End) Fail("unexpected text after expression");
  return value;
}

uint32_t ScriptParser::Expression(int depth) {
  uint32_t value = Term(depth);
  while (m_current.kind == Token::Kind::Punctuation && std::string("|&+-").find(m_current.text[0]) != std::string::npos) {
    char op = m_current.text[0];
    Advance();
    uint32_t right = Term(depth);
    switch (op) {
      case '|': value |= right; break;
      case '&': value &= right; break;
      case '+': value += right; break;
      default: value -= right; break;
    }
  }
  return value;
}

uint32_t ScriptParser::Term(int depth) {
  if (IsPunctuation('(')) {
    Advance();
    uint32_t value = Expression(depth);
    Expect(')');
    return value;
  }
  if (IsPunctuation('-')) {
    Advance();
    return 0u - Term(depth);
  }
  if (IsPunctuation('~')) {
    Advance();
    return ~Term(depth);
  }
  if (m_current.kind == Token::Kind::Number) {
    uint32_t value = m_current.number;
    Advance();
    return value;
  }
  if (m_current.kind == Token::Kind::Name && m_defines.count(m_current.text) != 0) {
    std::string name = m_current.text;
    Advance();
    return DefineValue(name, depth);
  }
  uint32_t builtin = 0;
  if (m_current.kind == Token::Kind::Name && BuiltinStyleValue(m_current.text, &builtin)) {
    Advance();
    return builtin;
  }
  Fail("expected a number");
}

uint32_t ScriptParser::DefineValue(const std::string& name, int depth) {
  if (depth >= kMaxDefineDepth) Fail("#define " + name + " refers to itself");
  const std::string& text = m_defines.at(name);
  if (text.empty()) Fail("#define " + name + " has no value");
  try {
    ScriptParser inner(text, m_fileName, m_defines, m_codePage);
    return inner.EvaluateExpression(depth + 1);
  } catch (const ScriptError& error) {
    Fail("in #define " + name + ": " + error.what());
  }
}

ResourceId ScriptParser::ParseNameOrNumber() {
  if (m_current.kind == Token::Kind::Name && m_defines.count(m_current.text) == 0) {
    ResourceId id = ResourceId::Name(Upper(m_current.text));
    Advance();
    return id;
  }
  if (m_current.kind == Token::Kind::String) {
    ResourceId id = ResourceId::Name(Upper(m_current.text));
    if (id.name.empty()) Fail("empty resource name");
    Advance();
    return id;
  }
  uint32_t value = Expression(0);
  if (value > 0xFFFF) Fail("resource number above 65535");
  return ResourceId::Number(static_cast<uint16_t>(value));
}

ResourceId ScriptParser::ParseType() {
  if (m_current.kind == Token::Kind::Name) {
    std::string upper = Upper(m_current.text);
    if (kUnsupportedStatements.count(upper) != 0) Fail(upper + " resources are not supported");
    if (m_defines.count(m_current.text) == 0) {
      Advance();
      if (upper == "ICON") return ResourceId::Number(kTypeIcon);
      if (upper == "CURSOR") return ResourceId::Number(kTypeCursor);
      if (upper == "BITMAP") return ResourceId::Number(kTypeBitmap);
      if (upper == "RCDATA") return ResourceId::Number(kTypeRcData);
      if (upper == "STRINGTABLE" || upper == "LANGUAGE") Fail(upper + " cannot be a resource type");
      return ResourceId::Name(upper);
    }
  }
  if (m_current.kind == Token::Kind::End) Fail("resource type missing");
  return ParseNameOrNumber();
}

void ScriptParser::SkipMemoryOptions() {
  while (m_current.kind == Token::Kind::Name && kMemoryOptions.count(Upper(m_current.text)) != 0) Advance();
}

std::u16string ScriptParser::ToUtf16(const Token& token) const {
  const std::string& bytes = token.text;
  std::u16string text;
  if (m_codePage == 1252) {
    for (unsigned char c : bytes) text += c >= 0x80 && c <= 0x9F ? kHighControlRange[c - 0x80] : static_cast<char16_t>(c);
    return text;
  }
  for (size_t i = 0; i < bytes.size();) {
    unsigned char lead = static_cast<unsigned char>(bytes[i]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= bytes.size()) Fail("invalid UTF-8 in string");
    uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) Fail("invalid UTF-8 in string");
      code = (code << 6) | (next & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      text += static_cast<char16_t>(0xD800 + (code >> 10));
      text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      text += static_cast<char16_t>(code);
    }
  }
  return text;
}

ResourceScript ScriptParser::Parse() {
  ResourceScript script;
  ParseInto(script);
  return script;
}

std::string ScriptParser::FirstAt(const std::string& scriptName, int line) const {
  if (scriptName == m_fileName) return "line " + std::to_string(line);
  return scriptName + ":" + std::to_string(line);
}

void ScriptParser::ParseInto(ResourceScript& script) {
  while (m_current.kind != Token::Kind::End) {
    if (IsName("STRINGTABLE")) {
      ParseStringTable(script);
      continue;
    }
    if (IsName("LANGUAGE")) {
      Advance();
      uint32_t primary = Expression(0);
      Expect(',');
      uint32_t sub = Expression(0);
      m_language = static_cast<uint16_t>(((sub & 0x3F) << 10) | (primary & 0x3FF));
      continue;
    }
    if (m_current.kind == Token::Kind::Name && kUnsupportedStatements.count(Upper(m_current.text)) != 0) {
      Fail(Upper(m_current.text) + " is not supported");
    }
    ScriptResource resource;
    resource.line = m_current.line;
    resource.scriptName = m_fileName;
    resource.language = m_language;
    resource.name = ParseNameOrNumber();
    if (IsName("DIALOG") || IsName("DIALOGEX")) {
      bool extended = IsName("DIALOGEX");
      ParseDialog(script, std::move(resource), extended);
      continue;
    }
    resource.type = ParseType();
    SkipMemoryOptions();
    bool ownFormat = resource.type.isNumber && resource.type.number != kTypeRcData;
    if (m_current.kind == Token::Kind::String) {
      resource.fileName = m_current.text;
      if (resource.fileName.empty()) Fail("empty file name");
      Advance();
    } else if (AtBlockStart() && !ownFormat) {
      resource.inlineData = ParseDataBlock();
    } else {
      Fail("expected a quoted file name");
    }
    for (const ScriptResource& earlier : script.resources) {
      if (earlier.type == resource.type && earlier.name == resource.name && earlier.language == resource.language) {
        throw ScriptError(m_fileName + ":" + std::to_string(resource.line) + ": duplicate resource (first at " +
                          FirstAt(earlier.scriptName, earlier.line) + ")");
      }
    }
    script.resources.push_back(std::move(resource));
  }
}

void ScriptParser::ParseStringTable(ResourceScript& script) {
  Advance();
  SkipMemoryOptions();
  while (IsName("LANGUAGE") || IsName("CHARACTERISTICS") || IsName("VERSION")) {
    bool language = IsName("LANGUAGE");
    Advance();
    uint32_t first = Expression(0);
    if (language) {
      Expect(',');
      uint32_t sub = Expression(0);
      m_language = static_cast<uint16_t>(((sub & 0x3F) << 10) | (first & 0x3FF));
    }
  }
  if (!AtBlockStart()) Fail("expected BEGIN or '{' after STRINGTABLE");
  Advance();
  while (!AtBlockEnd()) {
    if (m_current.kind == Token::Kind::End) Fail("STRINGTABLE not closed");
    ScriptString entry;
    entry.line = m_current.line;
    entry.scriptName = m_fileName;
    entry.language = m_language;
    uint32_t id = Expression(0);
    if (id > 0xFFFF) Fail("string id above 65535");
    entry.id = static_cast<uint16_t>(id);
    if (IsPunctuation(',')) Advance();
    if (m_current.kind != Token::Kind::String) Fail("expected a quoted string");
    while (m_current.kind == Token::Kind::String) {
      entry.text += ToUtf16(m_current);
      Advance();
    }
    if (entry.text.size() > kMaxStringLength) Fail("string longer than 65535 characters");
    for (const ScriptString& earlier : script.strings) {
      if (earlier.id == entry.id && earlier.language == entry.language) {
        Fail("duplicate string id " + std::to_string(entry.id) + " (first at " + FirstAt(earlier.scriptName, earlier.line) +
             ")");
      }
    }
    script.strings.push_back(std::move(entry));
  }
  Advance();
}

std::string ScriptParser::ParseDataBlock() {
  Advance();
  std::string data;
  while (!AtBlockEnd()) {
    if (m_current.kind == Token::Kind::End) Fail("data block not closed");
    if (m_current.kind == Token::Kind::String) {
      if (m_current.isWide) {
        for (char16_t unit : ToUtf16(m_current)) {
          data += static_cast<char>(unit & 0xFF);
          data += static_cast<char>(unit >> 8);
        }
      } else {
        data += m_current.text;
      }
      Advance();
    } else {
      // Numbers are 16-bit items unless one of them carries the L suffix.
      bool isLong = m_current.kind == Token::Kind::Number && m_current.isLong;
      uint32_t value = Expression(0);
      int bytes = isLong ? 4 : 2;
      for (int i = 0; i < bytes; ++i) data += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    if (IsPunctuation(',')) Advance();
  }
  Advance();
  return data;
}

}  // namespace vel::tools

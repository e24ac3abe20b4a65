#pragma once
// The text of one initialisation file, split into classified lines. Reading looks values up in
// the lines; every edit splices the raw text, so each line the edit does not touch (comments,
// unknown sections, text before the first section, odd line breaks, even binary garbage) keeps
// its exact bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vel::platform {

class ProfileDocument {
 public:
  /// Texts above this size are not profiles; the file layer refuses to read or rewrite them.
  static constexpr size_t kMaxTextSize = 256u << 20;

  /// Text is any other line (no "=", or a "[" without "]"): kept, but neither key nor section.
  enum class LineKind : uint8_t { Blank, Comment, Section, Entry, Text };

  struct Line {
    uint32_t begin;       ///< First byte of the line.
    uint32_t end;         ///< One past the last byte before the line break.
    uint32_t next;        ///< First byte of the following line (after CR, LF or CRLF).
    uint32_t nameBegin;   ///< Section name or key, blanks trimmed.
    uint32_t nameEnd;
    uint32_t valueBegin;  ///< Value after "=", blanks trimmed (empty range without "=").
    uint32_t valueEnd;
    LineKind kind;
  };

  ProfileDocument() = default;
  /// Splits `text` (at most kMaxTextSize bytes; the rest is ignored) into lines.
  explicit ProfileDocument(std::string text);

  const std::string& Text() const { return m_text; }
  const std::vector<Line>& Lines() const { return m_lines; }

  /// The value of `key` in `section` (names compared ignoring case and surrounding blanks), with
  /// one pair of enclosing quotes (both double or both single) removed; nothing when the key is
  /// missing. Lines before the first section header belong to the section named "".
  std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

  /// Whether the file has the section (a header, or for "" lines before the first header).
  bool HasSection(std::string_view section) const;

  /// Each section name once, in file order (empty names are left out).
  std::vector<std::string_view> SectionNames() const;

  /// Each key of the section once, in file order (empty names are left out).
  std::vector<std::string_view> KeyNames(std::string_view section) const;

  /// The text with `key` set to `value`: the existing line is rewritten, else the key is added
  /// after the section's last non-blank line, else "[section]" and the key are appended.
  std::string WithValue(std::string_view section, std::string_view key, std::string_view value) const;

  /// The text without any line of `key` in `section`.
  std::string WithoutKey(std::string_view section, std::string_view key) const;

  /// The text without every section named `section` and the lines under it.
  std::string WithoutSection(std::string_view section) const;

  /// The line break the file uses (the first one found), CRLF for a file without one.
  std::string_view LineBreak() const;

 private:
  void Split();
  std::string_view Name(const Line& line) const {
    return std::string_view(m_text).substr(line.nameBegin, line.nameEnd - line.nameBegin);
  }
  /// Calls `visit(index)` for each line under a section header matching `section`; stops when
  /// `visit` returns false.
  template <typename Visit>
  void ForEachLineIn(std::string_view section, Visit visit) const;

  std::string m_text;
  std::vector<Line> m_lines;
};

/// Blanks (spaces and tabs) removed from both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace vel::platform

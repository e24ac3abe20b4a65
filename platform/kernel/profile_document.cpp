#include "platform/kernel/profile_document.h"

#include <cstring>

#include "platform/kernel/ansi_text.h"

namespace vel::platform {
namespace {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Finds the next occurrence of `c` at or after `from`, remembering the answer in `cached` so
// that a file with only one kind of line break is scanned once, not once per line.
inline size_t NextOf(const char* data, size_t size, size_t from, char c, size_t& cached) {
  if (cached == std::string::npos || cached < from) {
    const void* found = std::memchr(data + from, c, size - from);
    cached = found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - data) : size;
  }
  return cached;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

ProfileDocument::ProfileDocument(std::string text) : m_text(std::move(text)) {
  if (m_text.size() > kMaxTextSize) m_text.resize(kMaxTextSize);
  Split();
}

void ProfileDocument::Split() {
  const char* data = m_text.data();
  const size_t size = m_text.size();
  m_lines.clear();
  m_lines.reserve(size / 32 + 1);
  size_t nextLf = std::string::npos;
  size_t nextCr = std::string::npos;
  size_t pos = 0;
  while (pos < size) {
    size_t lf = NextOf(data, size, pos, '\n', nextLf);
    size_t cr = NextOf(data, size, pos, '\r', nextCr);
    size_t end = lf < cr ? lf : cr;
    size_t next = end;
    if (end < size) next = (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? end + 2 : end + 1;

    Line line{};
    line.begin = static_cast<uint32_t>(pos);
    line.end = static_cast<uint32_t>(end);
    line.next = static_cast<uint32_t>(next);
    size_t first = pos;
    while (first < end && IsBlank(data[first])) ++first;
    size_t last = end;
    while (last > first && IsBlank(data[last - 1])) --last;
    line.nameBegin = line.nameEnd = line.valueBegin = line.valueEnd = static_cast<uint32_t>(first);
    if (first == end) {
      line.kind = LineKind::Blank;
    } else if (data[first] == ';') {
      line.kind = LineKind::Comment;
    } else if (data[first] == '[') {
      // The name runs to the first "]"; without one the line is no header.
      const void* close = std::memchr(data + first + 1, ']', last - first - 1);
      line.kind = close != nullptr ? LineKind::Section : LineKind::Text;
      size_t nameEnd = close != nullptr ? static_cast<size_t>(static_cast<const char*>(close) - data) : first + 1;
      size_t nameBegin = first + 1;
      while (nameBegin < nameEnd && IsBlank(data[nameBegin])) ++nameBegin;
      while (nameEnd > nameBegin && IsBlank(data[nameEnd - 1])) --nameEnd;
      line.nameBegin = static_cast<uint32_t>(nameBegin);
      line.nameEnd = static_cast<uint32_t>(nameEnd);
    } else {
      const void* equals = std::memchr(data + first, '=', last - first);
      line.kind = equals != nullptr ? LineKind::Entry : LineKind::Text;
      if (equals != nullptr) {
        size_t eq = static_cast<size_t>(static_cast<const char*>(equals) - data);
        size_t nameEnd = eq;
        while (nameEnd > first && IsBlank(data[nameEnd - 1])) --nameEnd;
        size_t valueBegin = eq + 1;
        while (valueBegin < last && IsBlank(data[valueBegin])) ++valueBegin;
        line.nameEnd = static_cast<uint32_t>(nameEnd);
        line.valueBegin = static_cast<uint32_t>(valueBegin);
        line.valueEnd = static_cast<uint32_t>(last);
      }
    }
    m_lines.push_back(line);
    pos = next;
  }
}

template <typename Visit>
void ProfileDocument::ForEachLineIn(std::string_view section, Visit visit) const {
  section = TrimBlanks(section);
  bool inside = section.empty();
  for (size_t i = 0; i < m_lines.size(); ++i) {
    const Line& line = m_lines[i];
    if (line.kind == LineKind::Section) {
      inside = EqualsIgnoringCase(Name(line), section);
      continue;
    }
    if (inside && !visit(i)) return;
  }
}

std::optional<std::string_view> ProfileDocument::FindValue(std::string_view section, std::string_view key) const {
  key = TrimBlanks(key);
  std::optional<std::string_view> found;
  ForEachLineIn(section, [&](size_t i) {
    const Line& line = m_lines[i];
    if (line.kind != LineKind::Entry || !EqualsIgnoringCase(Name(line), key)) return true;
    std::string_view value = std::string_view(m_text).substr(line.valueBegin, line.valueEnd - line.valueBegin);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    found = value;
    return false;
  });
  return found;
}

bool ProfileDocument::HasSection(std::string_view section) const {
  section = TrimBlanks(section);
  for (const Line& line : m_lines) {
    if (line.kind == LineKind::Section) {
      if (EqualsIgnoringCase(Name(line), section)) return true;
    } else if (section.empty() && &line == &m_lines.front()) {
      return true;
    }
  }
  return false;
}

std::vector<std::string_view> ProfileDocument::SectionNames() const {
  std::vector<std::string_view> names;
  for (const Line& line : m_lines) {
    if (line.kind != LineKind::Section || line.nameBegin == line.nameEnd) continue;
    std::string_view name = Name(line);
    bool seen = false;
    for (std::string_view earlier : names) seen = seen || EqualsIgnoringCase(earlier, name);
    if (!seen) names.push_back(name);
  }
  return names;
}

std::vector<std::string_view> ProfileDocument::KeyNames(std::string_view section) const {
  std::vector<std::string_view> names;
  ForEachLineIn(section, [&](size_t i) {
    const Line& line = m_lines[i];
    if (line.kind != LineKind::Entry || line.nameBegin == line.nameEnd) return true;
    std::string_view name = Name(line);
    bool seen = false;
    for (std::string_view earlier : names) seen = seen || EqualsIgnoringCase(earlier, name);
    if (!seen) names.push_back(name);
    return true;
  });
  return names;
}

std::string_view ProfileDocument::LineBreak() const {
  for (const Line& line : m_lines) {
    if (line.next == line.end) continue;
    return std::string_view(m_text).substr(line.end, line.next - line.end);
  }
  return "\r\n";
}

std::string ProfileDocument::WithValue(std::string_view section, std::string_view key, std::string_view value) const {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  std::string_view lineBreak = LineBreak();
  std::string result;

  // An existing key: rewrite that line only, keeping the spelling of its name.
  const Line* existing = nullptr;
  ForEachLineIn(section, [&](size_t i) {
    const Line& line = m_lines[i];
    if (line.kind == LineKind::Entry && EqualsIgnoringCase(Name(line), key)) existing = &line;
    return existing == nullptr;
  });
  if (existing != nullptr) {
    result.reserve(m_text.size() + value.size() + 2);
    result.append(m_text, 0, existing->begin);
    result.append(Name(*existing)).append("=").append(value);
    result.append(m_text, existing->end, std::string::npos);
    return result;
  }

  // A known section: add the key after its last non-blank line.
  const Line* anchor = nullptr;
  bool inside = section.empty();
  for (const Line& line : m_lines) {
    if (line.kind == LineKind::Section) {
      if (inside) break;
      inside = EqualsIgnoringCase(Name(line), section);
      if (inside) anchor = &line;
      continue;
    }
    if (inside && line.kind != LineKind::Blank) anchor = &line;
  }
  std::string entry = std::string(key) + "=" + std::string(value);
  if (anchor != nullptr) {
    result.reserve(m_text.size() + entry.size() + 4);
    result.append(m_text, 0, anchor->next);
    if (anchor->next == anchor->end) result.append(lineBreak);  // the anchor was the unterminated last line
    result.append(entry).append(lineBreak);
    result.append(m_text, anchor->next, std::string::npos);
    return result;
  }

  // A new section at the end of the file.
  result.reserve(m_text.size() + section.size() + entry.size() + 8);
  result = m_text;
  if (!result.empty() && result.back() != '\n' && result.back() != '\r') result.append(lineBreak);
  result.append("[").append(section).append("]").append(lineBreak);
  result.append(entry).append(lineBreak);
  return result;
}

std::string ProfileDocument::WithoutKey(std::string_view section, std::string_view key) const {
  key = TrimBlanks(key);
  std::vector<bool> drop(m_lines.size(), false);
  ForEachLineIn(section, [&](size_t i) {
    const Line& line = m_lines[i];
    if (line.kind == LineKind::Entry && EqualsIgnoringCase(Name(line), key)) drop[i] = true;
    return true;
  });
  std::string result;
  result.reserve(m_text.size());
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (!drop[i]) result.append(m_text, m_lines[i].begin, m_lines[i].next - m_lines[i].begin);
  }
  return result;
}

std::string ProfileDocument::WithoutSection(std::string_view section) const {
  section = TrimBlanks(section);
  std::string result;
  result.reserve(m_text.size());
  bool dropping = section.empty();
  for (const Line& line : m_lines) {
    if (line.kind == LineKind::Section) dropping = EqualsIgnoringCase(Name(line), section);
    if (!dropping) result.append(m_text, line.begin, line.next - line.begin);
  }
  return result;
}

}  // namespace vel::platform

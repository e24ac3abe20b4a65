#include "runtime/controls/edit_buffer.h"

#include <algorithm>
#include <cstdint>

namespace vel::controls {
namespace {

constexpr std::int64_t kWholeText = 0x7FFFFFFF;

}  // namespace

bool IsBlank(char character) {
  return character == ' ' || character == '\t' || character == '\n' || character == '\v' ||
         character == '\f' || character == '\r';
}

void EditBuffer::SetLimit(int limit) { m_limit = std::max(limit, Length()); }

std::string EditBuffer::SelectedText() const {
  return m_text.substr(static_cast<std::size_t>(SelectionStart()),
                       static_cast<std::size_t>(SelectionEnd() - SelectionStart()));
}

void EditBuffer::SetText(std::string_view text) {
  m_text.assign(text);
  m_limit = std::max(m_limit, Length());
  m_anchor = m_caret = m_firstVisible = 0;
}

bool EditBuffer::DeleteSelection() {
  if (!HasSelection()) return false;
  int start = SelectionStart();
  m_text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(SelectionEnd() - start));
  m_anchor = m_caret = start;
  m_firstVisible = std::min(m_firstVisible, start);
  m_modified = true;
  return true;
}

bool EditBuffer::DeleteBackward() {
  if (m_caret == 0) return false;
  m_text.erase(static_cast<std::size_t>(m_caret - 1), 1);
  m_anchor = --m_caret;
  m_firstVisible = std::min(m_firstVisible, m_caret);
  m_modified = true;
  return true;
}

bool EditBuffer::DeleteForward() {
  if (m_caret >= Length()) return false;
  m_text.erase(static_cast<std::size_t>(m_caret), 1);
  m_anchor = m_caret;
  m_modified = true;
  return true;
}

bool EditBuffer::Insert(std::string_view text) {
  if (static_cast<std::int64_t>(Length()) + static_cast<std::int64_t>(text.size()) > m_limit) return false;
  m_text.insert(static_cast<std::size_t>(m_caret), text);
  m_caret += static_cast<int>(text.size());
  m_anchor = m_caret;
  m_modified = true;
  return true;
}

bool EditBuffer::Overwrite(char character) {
  if (m_caret >= Length()) return Insert(std::string_view(&character, 1));
  m_text[static_cast<std::size_t>(m_caret)] = character;
  m_anchor = ++m_caret;
  m_modified = true;
  return true;
}

int EditBuffer::Clamp(std::int64_t position) const {
  return static_cast<int>(std::clamp<std::int64_t>(position, 0, Length()));
}

void EditBuffer::MoveCaret(int position, bool extend) {
  int target = Clamp(position);
  if (!extend) m_anchor = target;
  m_caret = target;
}

void EditBuffer::Select(int anchor, int caret) {
  m_anchor = Clamp(anchor);
  m_caret = Clamp(caret);
}

bool EditBuffer::IsSelectAllRequest(std::int64_t start, std::int64_t end) const {
  if (start != 0 || start == end) return false;
  return end < 0 || end == kWholeText;
}

void EditBuffer::ApplySetSel(std::int64_t start, std::int64_t end) {
  if (IsSelectAllRequest(start, end)) {
    SelectAll();
    return;
  }
  if (start == -1 || start == end) {
    m_anchor = m_caret = Clamp(end);
    return;
  }
  Select(static_cast<int>(std::min(Clamp(start), Clamp(end))), std::max(Clamp(start), Clamp(end)));
}

int EditBuffer::WordStartBefore(int position) const {
  int at = Clamp(position);
  while (at > 0 && IsBlank(m_text[static_cast<std::size_t>(at - 1)])) --at;
  while (at > 0 && !IsBlank(m_text[static_cast<std::size_t>(at - 1)])) --at;
  return at;
}

int EditBuffer::NextWordStart(int position) const {
  int at = Clamp(position);
  while (at < Length() && !IsBlank(m_text[static_cast<std::size_t>(at)])) ++at;
  while (at < Length() && IsBlank(m_text[static_cast<std::size_t>(at)])) ++at;
  return at;
}

void EditBuffer::SelectWordAt(int position) {
  int at = Clamp(position);
  if (Length() == 0) return;
  // A click just past the last character of a word picks that word.
  int probe = at == Length() ? at - 1 : at;
  bool blank = IsBlank(m_text[static_cast<std::size_t>(probe)]);
  int start = probe;
  int end = probe;
  while (start > 0 && IsBlank(m_text[static_cast<std::size_t>(start - 1)]) == blank) --start;
  while (end < Length() && IsBlank(m_text[static_cast<std::size_t>(end)]) == blank) ++end;
  Select(start, end);
}

int EditBuffer::Width(const CharWidthFunction& charWidth, int from, int to) const {
  int width = 0;
  for (int i = std::max(from, 0); i < std::min(to, Length()); ++i)
    width += charWidth(static_cast<unsigned char>(m_text[static_cast<std::size_t>(i)]));
  return width;
}

void EditBuffer::ScrollToCaret(const CharWidthFunction& charWidth, int width) {
  m_firstVisible = std::min(m_firstVisible, Length());
  if (m_caret < m_firstVisible) {
    m_firstVisible = std::max(0, std::min(m_firstVisible - kScrollStep, m_caret));
    return;
  }
  if (Width(charWidth, m_firstVisible, m_caret) <= width) return;
  m_firstVisible = std::min(m_firstVisible + kScrollStep, m_caret);
  if (Width(charWidth, m_firstVisible, m_caret) > width) ScrollFromStart(charWidth, width);
}

void EditBuffer::ScrollFromStart(const CharWidthFunction& charWidth, int width) {
  // Walk back from the caret while the characters still fit.
  int first = m_caret;
  int used = 0;
  while (first > 0) {
    int next = charWidth(static_cast<unsigned char>(m_text[static_cast<std::size_t>(first - 1)]));
    if (used + next > width) break;
    used += next;
    --first;
  }
  m_firstVisible = first;
}

int EditBuffer::PositionAt(const CharWidthFunction& charWidth, int x) const {
  int position = m_firstVisible;
  int left = 0;
  if (x <= 0) return position;
  while (position < Length()) {
    int advance = charWidth(static_cast<unsigned char>(m_text[static_cast<std::size_t>(position)]));
    if (x < left + (advance + 1) / 2) break;
    left += advance;
    ++position;
  }
  return position;
}

}  // namespace vel::controls

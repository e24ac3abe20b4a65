#include "platform/user/edit_state.h"

#include <algorithm>
#include <cctype>

namespace vel::platform {
namespace {

bool IsWordCharacter(char c) { return c != ' ' && c != '\t'; }

}  // namespace

void EditState::MoveCaret(size_t position, bool extend) {
  caret = std::min(position, text.size());
  if (!extend) anchor = caret;
}

bool EditState::ReplaceSelection(const std::string& insert, bool ignoreLimit) {
  size_t start = SelectionStart();
  size_t end = SelectionEnd();
  size_t kept = text.size() - (end - start);
  size_t room = ignoreLimit ? insert.size() : (kept < limit ? limit - kept : 0);
  size_t taken = std::min(room, insert.size());
  if (taken == 0 && start == end) return insert.empty();
  undoText = text;
  undoAnchor = anchor;
  undoCaret = caret;
  canUndo = true;
  text.replace(start, end - start, insert, 0, taken);
  anchor = caret = start + taken;
  modified = true;
  return taken == insert.size();
}

size_t EditState::WordLeft(size_t position) const {
  position = std::min(position, text.size());
  while (position > 0 && !IsWordCharacter(text[position - 1])) --position;
  while (position > 0 && IsWordCharacter(text[position - 1])) --position;
  return position;
}

size_t EditState::WordRight(size_t position) const {
  while (position < text.size() && IsWordCharacter(text[position])) ++position;
  while (position < text.size() && !IsWordCharacter(text[position])) ++position;
  return position;
}

void EditState::Undo() {
  if (!canUndo) return;
  std::swap(text, undoText);
  std::swap(anchor, undoAnchor);
  std::swap(caret, undoCaret);
  anchor = std::min(anchor, text.size());
  caret = std::min(caret, text.size());
  firstVisible = std::min(firstVisible, text.size());
  modified = true;
}

}  // namespace vel::platform

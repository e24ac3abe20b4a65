#pragma once
// The state of one single-line "Edit" control and the text editing it does, apart from the
// window that shows it: the text, the selection (an anchor and the caret end), the limit, the
// undo copy and how far the text is scrolled.

#include <string>

#include "win32.h"

namespace vel::platform {

/// Edit extra bytes: the font from WM_SETFONT, then the control's EditState.
constexpr int kEditFontOffset = 0;
constexpr int kEditStateOffset = static_cast<int>(sizeof(LONG_PTR));
constexpr int kEditExtraBytes = 2 * static_cast<int>(sizeof(LONG_PTR));

/// What a user may type into an empty control before EM_LIMITTEXT says otherwise.
constexpr size_t kDefaultEditLimit = 0x7FFF;

struct EditState {
  std::string text;
  /// The fixed end of the selection and the end that moves with the caret; equal when nothing
  /// is selected. Both are byte offsets into `text`.
  size_t anchor = 0;
  size_t caret = 0;
  size_t limit = kDefaultEditLimit;
  /// The first character shown at the left edge (ES_AUTOHSCROLL scrolls it).
  size_t firstVisible = 0;
  bool modified = false;
  char passwordChar = 0;
  /// The text and selection before the last change, for EM_UNDO.
  std::string undoText;
  size_t undoAnchor = 0;
  size_t undoCaret = 0;
  bool canUndo = false;
  /// EM_SETSEL(0, -1) arrived without the focus: select everything when it arrives.
  bool selectAllPending = false;
  bool mouseSelecting = false;

  size_t SelectionStart() const { return anchor < caret ? anchor : caret; }
  size_t SelectionEnd() const { return anchor < caret ? caret : anchor; }
  bool HasSelection() const { return anchor != caret; }
  std::string SelectedText() const { return text.substr(SelectionStart(), SelectionEnd() - SelectionStart()); }

  /// Moves the caret to `position` (clamped), keeping the anchor when `extend`.
  void MoveCaret(size_t position, bool extend);
  /// Replaces the selection with as much of `insert` as the limit allows (all of it when
  /// `ignoreLimit`), keeping an undo copy; returns false when some of it did not fit.
  bool ReplaceSelection(const std::string& insert, bool ignoreLimit = false);
  /// The start of the word before / after a position (Ctrl+Left, Ctrl+Right).
  size_t WordLeft(size_t position) const;
  size_t WordRight(size_t position) const;
  /// Swaps the text with the undo copy.
  void Undo();
};

/// The state kept in an "Edit" window's extra bytes.
EditState* EditStateOf(HWND edit);

/// What the control shows in place of its text: the text itself, or as many password
/// characters.
std::string DisplayedEditText(HWND edit, const EditState& state);

/// The left and right margins inside the client area, in pixels.
constexpr int kEditMargin = 2;

/// Client x of the caret placed before character `position`, with the current scroll.
int EditCharacterX(HWND edit, const EditState& state, size_t position);

/// The character position nearest to client x (what a click there places the caret before).
size_t EditCharacterAt(HWND edit, const EditState& state, int x);

/// Scrolls so that the caret is visible (ES_AUTOHSCROLL) and places the system caret.
void ScrollEditToCaret(HWND edit, EditState& state);

/// Draws the control: background, text, the selection when it shows.
void PaintEdit(HWND edit, HDC dc);

}  // namespace vel::platform

#pragma once
// The text an entry edits, with its limit, caret, selection and horizontal scrolling. It knows
// nothing of windows, fonts or pictures: the entry measures characters through the function it
// passes to the scrolling operations, so every editing rule is tested without a window.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vel::controls {

/// The advance of one character in pixels.
using CharWidthFunction = std::function<int(unsigned char)>;

class EditBuffer {
 public:
  /// The limit an entry has before its picture sets one.
  static constexpr int kDefaultLimit = 600;
  /// How many characters the text scrolls by when the caret leaves the visible part.
  static constexpr int kScrollStep = 7;

  const std::string& Text() const { return m_text; }
  int Length() const { return static_cast<int>(m_text.size()); }
  int Limit() const { return m_limit; }
  /// The limit becomes the larger of `limit` and the present length (EM_LIMITTEXT).
  void SetLimit(int limit);

  /// The caret: the second end of the selection.
  int Caret() const { return m_caret; }
  /// The end the selection was started from (the caret when there is none).
  int Anchor() const { return m_anchor; }
  bool HasSelection() const { return m_anchor != m_caret; }
  int SelectionStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
  int SelectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
  std::string SelectedText() const;
  /// The index of the first character shown.
  int FirstVisible() const { return m_firstVisible; }

  bool Modified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }

  /// Replaces the whole text: caret at the start, no selection, nothing scrolled. The limit
  /// grows to hold the text; the modified flag is left alone.
  void SetText(std::string_view text);

  /// Deletes the selected characters; the caret goes to where they started. False when there
  /// was no selection.
  bool DeleteSelection();
  /// Deletes the character before the caret (Backspace); false at the start.
  bool DeleteBackward();
  /// Deletes the character at the caret (Delete); false at the end.
  bool DeleteForward();
  /// Inserts `text` at the caret when the result stays within the limit, the caret after it.
  bool Insert(std::string_view text);
  /// Replaces the character at the caret (overwriting), or appends at the end within the limit.
  bool Overwrite(char character);

  /// Moves the caret to `position` (clamped to the text). With `extend` the selection runs from
  /// its anchor (the old caret when there was none) to the new caret; without, it ends.
  void MoveCaret(int position, bool extend);
  /// Selects from `anchor` to `caret`, both clamped to the text.
  void Select(int anchor, int caret);
  void SelectAll() { Select(0, Length()); }

  /// What EM_SETSEL asks for, by the edit rules: -1 or equal ends place the caret; (0, any
  /// negative) or (0, 7FFFFFFFh) selects all; other pairs are ordered and clamped, the caret at
  /// the larger. Answers true when the request is a select-all (which an entry without the
  /// focus only remembers), and then changes nothing.
  bool IsSelectAllRequest(std::int64_t start, std::int64_t end) const;
  void ApplySetSel(std::int64_t start, std::int64_t end);

  /// Ctrl+Left: back over blanks, then to the start of the word before them.
  int WordStartBefore(int position) const;
  /// Ctrl+Right: past the rest of the word at `position` and the blanks after it.
  int NextWordStart(int position) const;
  /// Selects the word at `position` (or the run of blanks there); the caret at its end.
  void SelectWordAt(int position);

  /// Scrolls so that the caret shows in an area `width` pixels wide: before the first visible
  /// character by 7 characters back, past the right edge by 7 forward or, when that is not
  /// enough, just so far that the caret shows.
  void ScrollToCaret(const CharWidthFunction& charWidth, int width);
  /// Recomputes the first visible character so that as much as fits before the caret shows.
  void ScrollFromStart(const CharWidthFunction& charWidth, int width);
  /// The width of the characters from `from` up to `to`.
  int Width(const CharWidthFunction& charWidth, int from, int to) const;
  /// The character boundary nearest to `x` pixels right of the first visible character.
  int PositionAt(const CharWidthFunction& charWidth, int x) const;

 private:
  int Clamp(std::int64_t position) const;

  std::string m_text;
  int m_limit = kDefaultLimit;
  int m_anchor = 0;
  int m_caret = 0;
  int m_firstVisible = 0;
  bool m_modified = false;
};

/// True for the characters that separate words: space, tab, LF, VT, FF and CR.
bool IsBlank(char character);

}  // namespace vel::controls

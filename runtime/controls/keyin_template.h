#pragma once
// Editing through a key-in picture ("@K(###) ###-####K"): the text always has the template's
// width; literal characters stay in place and the caret passes over them; each typed character
// goes to the next editable position whose class takes it (digits, letters, upper- or
// lower-case letters, any character); clearing a position leaves a blank there.

#include <string>
#include <string_view>

#include "runtime/values/picture_record.h"

namespace vel::controls {

class KeyInTemplate {
 public:
  explicit KeyInTemplate(const values::CompiledPicture& picture);

  int Width() const { return m_picture.PositionCount(); }
  /// The template with `text` laid over it: literal positions show their literal; an editable
  /// position keeps the character of `text` there when its class takes it, else a blank.
  std::string Fill(std::string_view text) const;

  bool IsEditable(int position) const;
  /// The first editable position (the width when there is none).
  int FirstEditable() const { return NextEditable(0); }
  /// The first editable position at or after `position`, or the width.
  int NextEditable(int position) const;
  /// The last editable position before `position`, or -1.
  int PreviousEditable(int position) const;
  /// The character as the position stores it (upper- or lower-cased for those classes), or 0
  /// when the position does not take it.
  unsigned char Accept(int position, unsigned char character) const;

  /// Types `character` at the first position at or after `caret` that takes it; the caret goes
  /// to the next editable position after it. False (nothing changes) when none takes it.
  bool Type(std::string& text, int& caret, unsigned char character) const;
  /// Backspace: blanks the editable position before the caret and moves the caret there.
  bool ClearBefore(std::string& text, int& caret) const;
  /// Delete: blanks the editable position at or after the caret.
  bool ClearAt(std::string& text, int caret) const;
  /// Blanks the editable positions in [start, end).
  void ClearRange(std::string& text, int start, int end) const;

 private:
  const values::CompiledPicture& m_picture;
};

}  // namespace vel::controls

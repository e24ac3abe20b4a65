#pragma once
// How a list and a closed drop field look, apart from what they do: the rows of a list with the
// selected one in the highlight colours, and the drop field's value beside its drop button.

#include <string_view>

#include "runtime/controls/from_source.h"
#include "win32.h"

namespace vel::controls {

/// What a list's rows are drawn from.
struct ListLook {
  RECT client{};
  int rowHeight = 1;
  int top = 0;
  /// The row drawn selected (-1 none).
  int selected = -1;
  /// The selected row also shows the focus rectangle.
  bool focused = false;
  bool enabled = true;
  HFONT font = nullptr;
  COLORREF text = 0;
  HBRUSH background = nullptr;
};

/// Draws the rows from `look.top` down, the selected one in the highlight colours; the area
/// below the last row takes the background.
void DrawListRows(HDC dc, const ListLook& look, const FromSource& items);

/// What a closed drop field is drawn from.
struct DropFieldLook {
  RECT client{};
  /// A frame round the text area: the sunken edge of an entry with `sunken` (the
  /// three-dimensional look), else a line of the system border width.
  bool border = true;
  bool sunken = false;
  bool transparent = false;
  bool focused = false;
  bool enabled = true;
  bool buttonPressed = false;
  HFONT font = nullptr;
  COLORREF text = 0;
  HBRUSH background = nullptr;
  std::string_view value;
};

/// The drop button: a square at the right edge, as wide as the field is high.
RECT DropButtonRect(const RECT& client);

/// Draws the text area (frame, value vertically centred, in the highlight colours while the
/// field has the focus, grey when disabled) and the drop button with the combo arrow.
void DrawDropField(HDC dc, const DropFieldLook& look);

}  // namespace vel::controls

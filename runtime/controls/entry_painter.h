#pragma once
// How an entry looks: where its text starts for each justification, how much room is left
// after it, and the painting of its background, frame, characters and selection. Everything
// comes in as data (EntryLook), so the pictures are tested without input and the placement
// without pixels.

#include <cstdint>
#include <string_view>

#include "runtime/controls/edit_buffer.h"
#include "win32.h"

namespace vel::controls {

struct EntryLook {
  /// The client rectangle.
  RECT area{};
  /// The characters as shown (a password's already replaced by "*").
  std::string_view text;
  int firstVisible = 0;
  /// The selected characters [selectionStart, selectionEnd); none when equal.
  int selectionStart = 0;
  int selectionEnd = 0;
  /// The attribute bits of mask 001Ch and the justification offset in pixels.
  std::uint32_t justification = 0;
  int offset = 0;
  /// Where the decimal point stands in `text` (its length when there is none).
  int decimalIndex = 0;
  int charHeight = 0;
  bool transparent = false;
  /// False for a control whose window has a border of its own (a spin box).
  bool framed = true;
  bool threeDimensional = false;
  HFONT font = nullptr;
  COLORREF textColour = 0;
  HBRUSH background = nullptr;
};

/// Where the text goes inside the frame.
struct EntryPlacement {
  /// The area inside the frame that text is drawn in.
  RECT textArea{};
  /// The x of the first visible character's left edge.
  int textX = 0;
  /// The free width between the end of the text and the right edge of the text area.
  int room = 0;
};

/// Places the text of `look`: left at offset + 2, centred at half the free width + offset,
/// right at the width less the text, 2 and the offset, decimal with the point at the width
/// less the offset; never left of 2.
EntryPlacement PlaceEntryText(const EntryLook& look, const CharWidthFunction& charWidth);

/// The y of the text's top: the cell centred in the text area.
int EntryTextTop(const EntryLook& look, const EntryPlacement& placement);

/// Paints the entry: background (unless transparent), frame (a sunken edge with the
/// three-dimensional look; none when transparent), then the characters from the first
/// visible one, the selected ones in the highlight colours.
void PaintEntry(HDC dc, const EntryLook& look, const CharWidthFunction& charWidth);

}  // namespace vel::controls

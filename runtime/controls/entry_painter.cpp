#include "runtime/controls/entry_painter.h"

#include <algorithm>

#include "runtime/controls/control_flags.h"

namespace vel::controls {
namespace {

constexpr int kTextMargin = 2;

int WidthOf(std::string_view text, int from, int to, const CharWidthFunction& charWidth) {
  int width = 0;
  for (int i = std::max(from, 0); i < std::min<int>(to, static_cast<int>(text.size())); ++i)
    width += charWidth(static_cast<unsigned char>(text[static_cast<std::size_t>(i)]));
  return width;
}

RECT InsideFrame(const EntryLook& look) {
  RECT inside = look.area;
  if (!look.transparent && look.framed) {
    int frame = look.threeDimensional ? 2 : 1;
    InflateRect(&inside, -frame, -frame);
  }
  return inside;
}

}  // namespace

EntryPlacement PlaceEntryText(const EntryLook& look, const CharWidthFunction& charWidth) {
  EntryPlacement placement;
  placement.textArea = InsideFrame(look);
  const RECT& area = placement.textArea;
  const int width = area.right - area.left;
  const int length = static_cast<int>(look.text.size());
  const int textWidth = WidthOf(look.text, look.firstVisible, length, charWidth);
  int x = 0;
  switch (look.justification & kAttrJustifyMask) {
    case kAttrJustifyCentre: x = (width - textWidth) / 2 + look.offset; break;
    case kAttrJustifyRight: x = width - textWidth - kTextMargin - look.offset; break;
    case kAttrJustifyDecimal:
      x = width - look.offset - WidthOf(look.text, look.firstVisible, look.decimalIndex, charWidth);
      break;
    default: x = look.offset + kTextMargin; break;
  }
  x = std::max(x, kTextMargin);
  placement.textX = area.left + x;
  placement.room = width - (x + textWidth);
  return placement;
}

int EntryTextTop(const EntryLook& look, const EntryPlacement& placement) {
  // Centred even when the font is taller than the field, so that a short field shows the
  // middle of its letters rather than their tops only.
  const RECT& area = placement.textArea;
  return area.top + (area.bottom - area.top - look.charHeight) / 2;
}

void PaintEntry(HDC dc, const EntryLook& look, const CharWidthFunction& charWidth) {
  RECT area = look.area;
  if (!look.transparent) {
    FillRect(dc, &area, look.background);
    if (look.framed && look.threeDimensional) {
      DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT);
    } else if (look.framed) {
      FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
  }
  EntryPlacement placement = PlaceEntryText(look, charWidth);
  HGDIOBJ previousFont = look.font != nullptr ? SelectObject(dc, look.font) : nullptr;
  const RECT& clip = placement.textArea;
  const int top = EntryTextTop(look, placement);
  int x = placement.textX;
  for (int i = look.firstVisible; i < static_cast<int>(look.text.size()) && x < clip.right; ++i) {
    const char character = look.text[static_cast<std::size_t>(i)];
    const int advance = charWidth(static_cast<unsigned char>(character));
    const bool selected = i >= look.selectionStart && i < look.selectionEnd;
    RECT cell{x, top, x + advance, top + look.charHeight};
    IntersectRect(&cell, &cell, &clip);
    if (selected) {
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      ExtTextOutA(dc, x, top, ETO_OPAQUE | ETO_CLIPPED, &cell, &character, 1, nullptr);
    } else {
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, look.textColour);
      ExtTextOutA(dc, x, top, ETO_CLIPPED, &cell, &character, 1, nullptr);
    }
    x += advance;
  }
  if (previousFont != nullptr) SelectObject(dc, previousFont);
}

}  // namespace vel::controls

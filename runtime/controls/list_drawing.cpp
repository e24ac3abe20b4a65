#include "runtime/controls/list_drawing.h"

#include <algorithm>

namespace vel::controls {
namespace {

constexpr int kTextMargin = 2;

// The height of the font's cell in a DC with the font selected.
int TextCellHeight(HDC dc) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return metrics.tmHeight;
}

// One line of text, clipped to `area`, vertically centred, with its background filled when
// `opaque`.
void DrawLine(HDC dc, const RECT& area, std::string_view text, bool opaque) {
  int y = area.top + (area.bottom - area.top - TextCellHeight(dc)) / 2;
  UINT options = ETO_CLIPPED | (opaque ? ETO_OPAQUE : 0);
  ExtTextOutA(dc, area.left + kTextMargin, y, options, &area, text.data(), static_cast<UINT>(text.size()),
              nullptr);
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH description{};
  if (brush != nullptr && GetObjectA(brush, sizeof description, &description) != 0) return description.lbColor;
  return GetSysColor(COLOR_WINDOW);
}

// The combo arrow bitmap of the system, made once: it is the same for every drop field.
HBITMAP ComboArrow() {
  static HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_COMBO));
  return bitmap;
}

void DrawDropButton(HDC dc, RECT button, bool pressed) {
  if (IsRectEmpty(&button)) return;
  RECT inner = button;
  if (pressed) {
    FillRect(dc, &button, GetSysColorBrush(COLOR_3DFACE));
    FrameRect(dc, &button, GetSysColorBrush(COLOR_3DSHADOW));
    InflateRect(&inner, -1, -1);
    OffsetRect(&inner, 1, 1);
  } else {
    DrawEdge(dc, &button, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    InflateRect(&inner, -2, -2);
  }
  HBITMAP arrow = ComboArrow();
  BITMAP size{};
  if (arrow == nullptr || GetObjectA(arrow, sizeof size, &size) == 0) return;
  // The middle of the arrow picture over the middle of the button face.
  int width = std::min<int>(inner.right - inner.left, size.bmWidth);
  int height = std::min<int>(inner.bottom - inner.top, size.bmHeight);
  if (width <= 0 || height <= 0) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, arrow);
  BitBlt(dc, inner.left + (inner.right - inner.left - width) / 2, inner.top + (inner.bottom - inner.top - height) / 2,
         width, height, source, (size.bmWidth - width) / 2, (size.bmHeight - height) / 2, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace

void DrawListRows(HDC dc, const ListLook& look, const FromSource& items) {
  HGDIOBJ previousFont = look.font != nullptr ? SelectObject(dc, look.font) : nullptr;
  int count = static_cast<int>(items.Count());
  int y = look.client.top;
  for (int row = std::max(look.top, 0); row < count && y < look.client.bottom; ++row, y += look.rowHeight) {
    RECT area{look.client.left, y, look.client.right, y + look.rowHeight};
    bool selected = row == look.selected;
    if (selected) {
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(look.enabled ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
    } else {
      FillRect(dc, &area, look.background);
      SetTextColor(dc, look.enabled ? look.text : GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(dc, selected ? OPAQUE : TRANSPARENT);
    DrawLine(dc, area, items.Item(static_cast<std::size_t>(row)), selected);
    if (selected && look.focused) DrawFocusRect(dc, &area);
  }
  if (y < look.client.bottom) {
    RECT rest{look.client.left, y, look.client.right, look.client.bottom};
    FillRect(dc, &rest, look.background);
  }
  if (previousFont != nullptr) SelectObject(dc, previousFont);
}

RECT DropButtonRect(const RECT& client) {
  int side = std::max(0, std::min(client.bottom - client.top, client.right - client.left));
  return RECT{client.right - side, client.top, client.right, client.bottom};
}

void DrawDropField(HDC dc, const DropFieldLook& look) {
  RECT button = DropButtonRect(look.client);
  RECT text{look.client.left, look.client.top, button.left, look.client.bottom};
  // The button keeps the field's whole height beside the edge: inside it, a field one text line
  // high would leave a button too small to show its arrow.
  if (look.border && look.sunken) {
    DrawEdge(dc, &text, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  } else if (look.border) {
    FrameRect(dc, &text, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&text, -GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER));
  }
  HGDIOBJ previousFont = look.font != nullptr ? SelectObject(dc, look.font) : nullptr;
  COLORREF background = BrushColour(look.background);
  if (!look.enabled) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, background);
  } else if (look.focused) {
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  } else {
    SetTextColor(dc, look.text);
    SetBkColor(dc, background);
  }
  bool opaque = !look.transparent || look.focused;
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  DrawLine(dc, text, look.value, opaque);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
  DrawDropButton(dc, button, look.buttonPressed);
}

}  // namespace vel::controls

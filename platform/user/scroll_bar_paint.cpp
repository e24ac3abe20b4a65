#include "platform/user/scroll_bar_paint.h"

#include <algorithm>

namespace vel::platform {
namespace {

constexpr int kMinimumThumb = 8;

// A small solid triangle pointing up or down, centred in `box`.
void DrawArrow(HDC dc, const RECT& box, bool up, bool enabled, bool pressed) {
  int centreX = (box.left + box.right) / 2 + (pressed ? 1 : 0);
  int centreY = (box.top + box.bottom) / 2 + (pressed ? 1 : 0);
  auto draw = [&](int dx, int dy, int colorIndex) {
    HBRUSH brush = GetSysColorBrush(colorIndex);
    for (int row = 0; row < 4; ++row) {
      int half = up ? row : 3 - row;
      RECT line{centreX - half + dx, centreY - 2 + row + dy, centreX + half + 1 + dx, centreY - 1 + row + dy};
      FillRect(dc, &line, brush);
    }
  };
  if (enabled) {
    draw(0, 0, COLOR_BTNTEXT);
  } else {
    draw(1, 1, COLOR_3DHILIGHT);
    draw(0, 0, COLOR_3DSHADOW);
  }
}

}  // namespace

void PaintScrollArrowButton(HDC dc, const RECT& box, bool up, bool enabled, bool pressed) {
  RECT face = box;
  FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  if (pressed) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_3DSHADOW));
  } else {
    DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
  }
  DrawArrow(dc, box, up, enabled, pressed);
}

VerticalScrollBar LayoutVerticalScrollBar(const RECT& bar, int first, int visible, int count) {
  VerticalScrollBar layout;
  layout.bar = bar;
  int width = bar.right - bar.left;
  int height = bar.bottom - bar.top;
  int arrow = std::min(width, height / 2);
  layout.upArrow = {bar.left, bar.top, bar.right, bar.top + arrow};
  layout.downArrow = {bar.left, bar.bottom - arrow, bar.right, bar.bottom};
  layout.enabled = count > visible && visible > 0;
  int track = height - 2 * arrow;
  if (!layout.enabled || track < kMinimumThumb) return layout;
  int thumbHeight = std::max(kMinimumThumb, track * visible / count);
  int range = count - visible;
  int offset = range > 0 ? (track - thumbHeight) * std::clamp(first, 0, range) / range : 0;
  layout.thumb = {bar.left, layout.upArrow.bottom + offset, bar.right, layout.upArrow.bottom + offset + thumbHeight};
  return layout;
}

ScrollPart ScrollPartAt(const VerticalScrollBar& layout, POINT point) {
  if (!PtInRect(&layout.bar, point)) return ScrollPart::None;
  if (PtInRect(&layout.upArrow, point)) return ScrollPart::LineUp;
  if (PtInRect(&layout.downArrow, point)) return ScrollPart::LineDown;
  if (IsRectEmpty(&layout.thumb)) return ScrollPart::None;
  if (point.y < layout.thumb.top) return ScrollPart::PageUp;
  if (point.y >= layout.thumb.bottom) return ScrollPart::PageDown;
  return ScrollPart::Thumb;
}

int FirstRowForThumb(const VerticalScrollBar& layout, int thumbTop, int visible, int count) {
  int track = layout.downArrow.top - layout.upArrow.bottom;
  int thumbHeight = layout.thumb.bottom - layout.thumb.top;
  int room = track - thumbHeight;
  int range = count - visible;
  if (room <= 0 || range <= 0) return 0;
  int offset = std::clamp(thumbTop - static_cast<int>(layout.upArrow.bottom), 0, room);
  return (offset * range + room / 2) / room;
}

void PaintVerticalScrollBar(HDC dc, const VerticalScrollBar& layout, ScrollPart pressed) {
  RECT track{layout.bar.left, layout.upArrow.bottom, layout.bar.right, layout.downArrow.top};
  FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
  if (pressed == ScrollPart::PageUp && !IsRectEmpty(&layout.thumb)) {
    RECT above{track.left, track.top, track.right, layout.thumb.top};
    FillRect(dc, &above, GetSysColorBrush(COLOR_3DDKSHADOW));
  }
  if (pressed == ScrollPart::PageDown && !IsRectEmpty(&layout.thumb)) {
    RECT below{track.left, layout.thumb.bottom, track.right, track.bottom};
    FillRect(dc, &below, GetSysColorBrush(COLOR_3DDKSHADOW));
  }
  PaintScrollArrowButton(dc, layout.upArrow, true, layout.enabled, pressed == ScrollPart::LineUp);
  PaintScrollArrowButton(dc, layout.downArrow, false, layout.enabled, pressed == ScrollPart::LineDown);
  if (!IsRectEmpty(&layout.thumb)) {
    RECT thumb = layout.thumb;
    FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
  }
}

}  // namespace vel::platform

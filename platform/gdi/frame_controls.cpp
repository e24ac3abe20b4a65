// DrawFrameControl: the faces of push buttons, check boxes and radio buttons and the caption
// buttons, in the classic three-dimensional look. Small glyphs (check mark, radio circle,
// caption symbols) are pixel masks, as the original draws them from bitmaps.

#include <algorithm>
#include <array>

#include "platform/gdi/brush_paint.h"

using namespace vel::platform;

namespace {

// A glyph as rows of characters; '.' is left alone, every other character picks a colour.
struct Mask {
  const char* const* rows;
  int height;
  int Width() const { return static_cast<int>(std::char_traits<char>::length(rows[0])); }
};

template <size_t N>
constexpr Mask MakeMask(const std::array<const char*, N>& rows) {
  return Mask{rows.data(), static_cast<int>(N)};
}

constexpr std::array<const char*, 7> kCheckRows = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

// 'o' outer ring, 'i' inner ring, 'w' the well; the upper-left half of each ring is dark.
constexpr std::array<const char*, 12> kRadioRows = {
    "....oooo....", "..ooiiiioo..", ".oiiwwwwiio.", ".oiwwwwwwio.", "oiwwwwwwwwio", "oiwwwwwwwwio",
    "oiwwwwwwwwio", "oiwwwwwwwwio", ".oiwwwwwwio.", ".oiiwwwwiio.", "..ooiiiioo..", "....oooo....",
};
constexpr std::array<const char*, 4> kRadioDotRows = {".##.", "####", "####", ".##."};

constexpr std::array<const char*, 7> kCloseRows = {
    "##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##",
};
constexpr std::array<const char*, 7> kMinimizeRows = {
    "........", "........", "........", "........", "........", ".######.", ".######.",
};
constexpr std::array<const char*, 9> kMaximizeRows = {
    "#########", "#########", "#.......#", "#.......#", "#.......#",
    "#.......#", "#.......#", "#.......#", "#########",
};
constexpr std::array<const char*, 9> kRestoreRows = {
    "..######", "..######", "..#....#", "######.#", "######.#",
    "#....###", "#....#..", "#....#..", "######..",
};

// Draws a mask with its top-left at a surface point; `colorAt` gives the colour of a mask
// character at a mask position.
template <typename ColorAt>
void DrawMask(Painter& painter, const Mask& mask, int x, int y, ColorAt colorAt) {
  for (int row = 0; row < mask.height; ++row) {
    const char* line = mask.rows[row];
    for (int column = 0; line[column] != '\0'; ++column) {
      if (line[column] == '.') continue;
      painter.Plot(x + column, y + row, PixelFromColor(colorAt(line[column], column, row)));
    }
  }
}

void DrawSolidMask(Painter& painter, const Mask& mask, int x, int y, COLORREF color) {
  DrawMask(painter, mask, x, y, [color](char, int, int) { return color; });
}

// A glyph in its normal colour, or embossed (a light copy one pixel down and right under a
// shadow copy) when inactive.
void DrawGlyph(Painter& painter, const Mask& mask, int x, int y, bool inactive, COLORREF color) {
  if (inactive) {
    DrawSolidMask(painter, mask, x + 1, y + 1, GetSysColor(COLOR_3DHILIGHT));
    DrawSolidMask(painter, mask, x, y, GetSysColor(COLOR_3DSHADOW));
  } else {
    DrawSolidMask(painter, mask, x, y, color);
  }
}

void Fill(Painter& painter, const RECT& r, COLORREF color) {
  painter.FillRect(r, Paint{PixelFromColor(color)});
}

// The square box of a check box, 13 pixels at the rectangle's left, centred vertically.
void DrawCheckBox(DeviceContext& dc, const RECT& box, UINT state) {
  Painter painter(dc.DrawTarget(), dc.EffectiveClip());
  int size = std::min({13, static_cast<int>(box.right - box.left), static_cast<int>(box.bottom - box.top)});
  RECT r{box.left, box.top + (box.bottom - box.top - size) / 2, 0, 0};
  r.right = r.left + size;
  r.bottom = r.top + size;
  bool flat = (state & (DFCS_FLAT | DFCS_MONO)) != 0;
  bool indeterminate = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
  bool grey = (state & (DFCS_PUSHED | DFCS_INACTIVE)) != 0 || indeterminate;
  COLORREF well = grey ? GetSysColor(COLOR_3DFACE) : GetSysColor(COLOR_WINDOW);
  if (flat) {
    COLORREF ring = (state & DFCS_MONO) ? GetSysColor(COLOR_WINDOWFRAME) : GetSysColor(COLOR_3DSHADOW);
    Fill(painter, r, ring);
    Fill(painter, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, well);
  } else {
    // Sunken: shadow over dark shadow at the top and left, highlight over light below and right.
    Fill(painter, RECT{r.left, r.top, r.right - 1, r.top + 1}, GetSysColor(COLOR_3DSHADOW));
    Fill(painter, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, GetSysColor(COLOR_3DSHADOW));
    Fill(painter, RECT{r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(COLOR_3DHILIGHT));
    Fill(painter, RECT{r.right - 1, r.top, r.right, r.bottom}, GetSysColor(COLOR_3DHILIGHT));
    Fill(painter, RECT{r.left + 1, r.top + 1, r.right - 2, r.top + 2}, GetSysColor(COLOR_3DDKSHADOW));
    Fill(painter, RECT{r.left + 1, r.top + 1, r.left + 2, r.bottom - 2}, GetSysColor(COLOR_3DDKSHADOW));
    Fill(painter, RECT{r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, GetSysColor(COLOR_3DLIGHT));
    Fill(painter, RECT{r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, GetSysColor(COLOR_3DLIGHT));
    Fill(painter, RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, well);
  }
  if (state & DFCS_CHECKED) {
    // A third state shows the mark greyed.
    bool greyMark = (state & DFCS_INACTIVE) != 0 || indeterminate;
    COLORREF mark = greyMark ? GetSysColor(COLOR_3DSHADOW) : GetSysColor(COLOR_WINDOWTEXT);
    Mask check = MakeMask(kCheckRows);
    DrawSolidMask(painter, check, r.left + (size - check.Width()) / 2, r.top + (size - check.height) / 2,
                  mark);
  }
}

void DrawRadio(DeviceContext& dc, const RECT& box, UINT state) {
  Painter painter(dc.DrawTarget(), dc.EffectiveClip());
  Mask circle = MakeMask(kRadioRows);
  int x = box.left;
  int y = box.top + (box.bottom - box.top - circle.height) / 2;
  bool flat = (state & (DFCS_FLAT | DFCS_MONO)) != 0;
  COLORREF well =
      (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? GetSysColor(COLOR_3DFACE) : GetSysColor(COLOR_WINDOW);
  COLORREF flatRing = (state & DFCS_MONO) ? GetSysColor(COLOR_WINDOWFRAME) : GetSysColor(COLOR_3DSHADOW);
  int last = circle.height - 1;
  DrawMask(painter, circle, x, y, [&](char role, int column, int row) {
    bool upperLeft = column + row < last;
    switch (role) {
      case 'o': return flat ? flatRing : GetSysColor(upperLeft ? COLOR_3DSHADOW : COLOR_3DHILIGHT);
      case 'i': return flat ? well : GetSysColor(upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
      default: return well;
    }
  });
  if (state & DFCS_CHECKED) {
    COLORREF dot = (state & DFCS_INACTIVE) ? GetSysColor(COLOR_3DSHADOW) : GetSysColor(COLOR_WINDOWTEXT);
    DrawSolidMask(painter, MakeMask(kRadioDotRows), x + 4, y + 4, dot);
  }
}

BOOL DrawPushFace(HDC hdc, RECT r, UINT state) {
  UINT flat = (state & DFCS_FLAT) ? BF_FLAT : 0;
  UINT edge = (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED;
  return DrawEdge(hdc, &r, edge, BF_RECT | BF_MIDDLE | BF_SOFT | flat);
}

BOOL DrawCaptionButton(HDC hdc, const RECT& logical, UINT state) {
  if (!DrawPushFace(hdc, logical, state)) return FALSE;
  auto dc = LookupDc(hdc);
  if (!dc) return FALSE;
  Mask glyph = MakeMask(kCloseRows);
  switch (state & 0xFF) {
    case DFCS_CAPTIONCLOSE: glyph = MakeMask(kCloseRows); break;
    case DFCS_CAPTIONMIN: glyph = MakeMask(kMinimizeRows); break;
    case DFCS_CAPTIONMAX: glyph = MakeMask(kMaximizeRows); break;
    case DFCS_CAPTIONRESTORE: glyph = MakeMask(kRestoreRows); break;
    default: return FALSE;
  }
  RECT r = dc->RectToSurface(logical);
  int shift = (state & DFCS_PUSHED) ? 1 : 0;
  int x = r.left + (r.right - r.left - glyph.Width()) / 2 + shift;
  int y = r.top + (r.bottom - r.top - glyph.height) / 2 + shift;
  Painter painter(dc->DrawTarget(), dc->EffectiveClip());
  DrawGlyph(painter, glyph, x, y, (state & DFCS_INACTIVE) != 0, GetSysColor(COLOR_BTNTEXT));
  return TRUE;
}

}  // namespace

BOOL WINAPI DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState) {
  if (lprc == nullptr) return FALSE;
  auto dc = LookupDc(hdc);
  if (!dc) return FALSE;
  switch (uType) {
    case DFC_CAPTION: return DrawCaptionButton(hdc, *lprc, uState);
    case DFC_BUTTON:
      if (uState & DFCS_BUTTONPUSH) return DrawPushFace(hdc, *lprc, uState);
      if (uState & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE)) {
        DrawRadio(*dc, dc->RectToSurface(*lprc), uState);
      } else {
        DrawCheckBox(*dc, dc->RectToSurface(*lprc), uState);
      }
      return TRUE;
    default: return FALSE;
  }
}

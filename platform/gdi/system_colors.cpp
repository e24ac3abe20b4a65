// The system colours (the classic scheme), their brushes, and DrawEdge, which draws with them.

#include <array>
#include <atomic>
#include <mutex>

#include "platform/gdi/brush_paint.h"
#include "platform/gdi/system_colors.h"

using namespace vel::platform;

namespace {

constexpr int kColorCount = 31;

const std::array<COLORREF, kColorCount> kClassicScheme = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(192, 192, 192),  // (unused slot)
    RGB(0, 0, 255),      // COLOR_HOTLIGHT
    RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),      // COLOR_MENUHILIGHT
    RGB(192, 192, 192),  // COLOR_MENUBAR
};

// The colours in force: the classic scheme until SetSysColors changes them.
std::array<std::atomic<COLORREF>, kColorCount>& CurrentScheme() {
  static std::array<std::atomic<COLORREF>, kColorCount> scheme;
  static std::once_flag filled;
  std::call_once(filled, [] {
    for (int i = 0; i < kColorCount; ++i) scheme[static_cast<size_t>(i)] = kClassicScheme[static_cast<size_t>(i)];
  });
  return scheme;
}

// System colour brushes are stock objects: DeleteObject leaves them alone.
const std::array<HBRUSH, kColorCount>& SystemBrushes() {
  static const std::array<HBRUSH, kColorCount> brushes = [] {
    std::array<HBRUSH, kColorCount> made{};
    for (int i = 0; i < kColorCount; ++i) {
      auto brush = std::make_shared<BrushObject>();
      brush->m_color = CurrentScheme()[static_cast<size_t>(i)];
      brush->m_stock = true;
      made[static_cast<size_t>(i)] = static_cast<HBRUSH>(RegisterObject(brush));
    }
    return made;
  }();
  return brushes;
}

void FillLine(Painter& painter, const RECT& r, COLORREF color) { painter.FillRect(r, Paint{PixelFromColor(color)}); }

// One ring of an edge: top and left in one colour, bottom and right in another; the
// bottom-right colour owns the two corners where the colours meet.
void DrawRing(Painter& painter, const RECT& r, UINT flags, COLORREF topLeft, COLORREF bottomRight) {
  if (flags & BF_TOP) FillLine(painter, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  if (flags & BF_LEFT) FillLine(painter, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  if (flags & BF_BOTTOM) FillLine(painter, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  if (flags & BF_RIGHT) FillLine(painter, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

RECT Shrink(const RECT& r, UINT flags) {
  return RECT{r.left + ((flags & BF_LEFT) ? 1 : 0), r.top + ((flags & BF_TOP) ? 1 : 0),
              r.right - ((flags & BF_RIGHT) ? 1 : 0), r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
}

}  // namespace

namespace vel::platform {

bool SetSystemColor(int index, COLORREF color) {
  if (index < 0 || index >= kColorCount) return false;
  CurrentScheme()[static_cast<size_t>(index)] = color & 0x00FFFFFF;
  // The colour's stock brush follows it, as the system's brushes do.
  if (auto brush = Lookup<BrushObject>(SystemBrushes()[static_cast<size_t>(index)])) brush->m_color = color & 0x00FFFFFF;
  return true;
}

}  // namespace vel::platform

DWORD WINAPI GetSysColor(int nIndex) {
  if (nIndex < 0 || nIndex >= kColorCount) return 0;
  return CurrentScheme()[static_cast<size_t>(nIndex)];
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
  if (nIndex < 0 || nIndex >= kColorCount) return nullptr;
  return SystemBrushes()[static_cast<size_t>(nIndex)];
}

BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
  auto dc = LookupDc(hdc);
  if (!dc || qrc == nullptr) return FALSE;
  RECT logical = *qrc;
  RECT r = dc->RectToSurface(logical);
  Painter painter(dc->DrawTarget(), dc->EffectiveClip());
  UINT outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
  UINT inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
  if (grfFlags & (BF_FLAT | BF_MONO)) {
    // Flat and mono edges are one plain colour per ring.
    COLORREF outerColor = (grfFlags & BF_MONO) ? GetSysColor(COLOR_WINDOWFRAME) : GetSysColor(COLOR_BTNSHADOW);
    COLORREF innerColor = (grfFlags & BF_MONO) ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE);
    if (outer != 0) {
      DrawRing(painter, r, grfFlags, outerColor, outerColor);
      r = Shrink(r, grfFlags);
    }
    if (inner != 0) {
      DrawRing(painter, r, grfFlags, innerColor, innerColor);
      r = Shrink(r, grfFlags);
    }
  } else {
    if (outer == BDR_RAISEDOUTER) {
      DrawRing(painter, r, grfFlags, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    } else if (outer == BDR_SUNKENOUTER) {
      DrawRing(painter, r, grfFlags, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT));
    }
    if (outer != 0) r = Shrink(r, grfFlags);
    if (inner == BDR_RAISEDINNER) {
      DrawRing(painter, r, grfFlags, GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW));
    } else if (inner == BDR_SUNKENINNER) {
      DrawRing(painter, r, grfFlags, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    }
    if (inner != 0) r = Shrink(r, grfFlags);
  }
  if (grfFlags & BF_MIDDLE) FillLine(painter, r, GetSysColor(COLOR_BTNFACE));
  if (grfFlags & BF_ADJUST) {
    // The caller gets the interior back in its own logical units.
    POINT origin = dc->Origin();
    POINT a = dc->ToLogical(r.left - origin.x, r.top - origin.y);
    POINT b = dc->ToLogical(r.right - origin.x, r.bottom - origin.y);
    *qrc = RECT{a.x, a.y, b.x, b.y};
  }
  return TRUE;
}

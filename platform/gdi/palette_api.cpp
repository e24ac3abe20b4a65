// Logical palettes. The screen is true colour, so realising a palette maps nothing; palettes
// matter for PALETTEINDEX colours and DIB_PAL_COLORS colour tables, which read their entries.

#include <algorithm>
#include <climits>

#include "platform/gdi/device_context.h"

using namespace vel::platform;

HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal) {
  if (plpal == nullptr || plpal->palVersion != 0x300 || plpal->palNumEntries == 0) return nullptr;
  auto palette = std::make_shared<PaletteObject>();
  palette->m_entries.assign(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries);
  return static_cast<HPALETTE>(RegisterObject(palette));
}

HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd) {
  (void)bForceBkgd;
  auto dc = LookupDc(hdc);
  auto palette = Lookup<PaletteObject>(hPal);
  if (!dc || !palette) return nullptr;
  HPALETTE previous = static_cast<HPALETTE>(HandleOf(dc->m_state.palette.get()));
  dc->m_state.palette = palette;
  return previous;
}

UINT WINAPI RealizePalette(HDC hdc) {
  // Nothing needs mapping on a true-colour surface, so no system palette entries change.
  return LookupDc(hdc) ? 0 : GDI_ERROR;
}

UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries) {
  auto palette = Lookup<PaletteObject>(hpal);
  if (!palette) return 0;
  UINT size = static_cast<UINT>(palette->m_entries.size());
  if (pPalEntries == nullptr) return size;
  if (iStart >= size) return 0;
  UINT count = std::min(cEntries, size - iStart);
  std::copy_n(palette->m_entries.begin() + iStart, count, pPalEntries);
  return count;
}

UINT WINAPI GetNearestPaletteIndex(HPALETTE h, COLORREF color) {
  auto palette = Lookup<PaletteObject>(h);
  if (!palette || palette->m_entries.empty()) return CLR_INVALID;
  UINT best = 0;
  int bestDistance = INT_MAX;
  for (UINT i = 0; i < palette->m_entries.size(); ++i) {
    const PALETTEENTRY& e = palette->m_entries[i];
    int dr = e.peRed - GetRValue(color);
    int dg = e.peGreen - GetGValue(color);
    int db = e.peBlue - GetBValue(color);
    int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

COLORREF WINAPI GetNearestColor(HDC hdc, COLORREF color) {
  auto dc = LookupDc(hdc);
  if (!dc) return CLR_INVALID;
  return ColorFromPixel(dc->PixelFor(color));
}

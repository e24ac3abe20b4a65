// DC lifetime, object selection and deletion, SaveDC/RestoreDC, device capabilities and the
// simple attribute setters.

#include <algorithm>
#include <cstring>

#include "platform/gdi/bitmap_object_util.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/display_metrics.h"
#include "platform/gdi/stock_objects.h"

using namespace vel::platform;

namespace {

// Runs `change` on the DC's state and returns the previous value of a field, or `failure`.
template <typename T, typename Field>
T Exchange(HDC hdc, Field DcState::*field, T value, T failure) {
  auto dc = LookupDc(hdc);
  if (!dc) return failure;
  T previous = static_cast<T>(dc->m_state.*field);
  dc->m_state.*field = static_cast<Field>(value);
  return previous;
}

template <typename T, typename Field>
T Read(HDC hdc, Field DcState::*field, T failure) {
  auto dc = LookupDc(hdc);
  return dc ? static_cast<T>(dc->m_state.*field) : failure;
}

int CopyOut(const void* source, int size, int capacity, void* destination) {
  if (destination == nullptr) return size;
  int copied = std::min(size, capacity);
  if (copied <= 0) return 0;
  std::memcpy(destination, source, static_cast<size_t>(copied));
  return copied;
}

int GetBitmapObject(const BitmapObject& bitmap, int capacity, void* out) {
  BITMAP bm{};
  bm.bmWidth = bitmap.m_surface->Width();
  bm.bmHeight = bitmap.m_surface->Height();
  bm.bmPlanes = 1;
  if (bitmap.m_isDibSection) {
    bm.bmBitsPixel = bitmap.m_dibHeader.biBitCount;
    bm.bmWidthBytes = ((bm.bmWidth * bm.bmBitsPixel + 31) / 32) * 4;
    bm.bmBits = const_cast<uint8_t*>(bitmap.m_dibBits.data());
    if (capacity >= static_cast<int>(sizeof(DIBSECTION)) || out == nullptr) {
      DIBSECTION ds{};
      ds.dsBm = bm;
      ds.dsBmih = bitmap.m_dibHeader;
      return CopyOut(&ds, sizeof ds, capacity, out);
    }
  } else {
    bm.bmBitsPixel = static_cast<WORD>(bitmap.m_bitsPixel);
    bm.bmWidthBytes = ((bm.bmWidth * bm.bmBitsPixel + 15) / 16) * 2;
  }
  return CopyOut(&bm, sizeof bm, capacity, out);
}

}  // namespace

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc != nullptr && !LookupDc(hdc)) return nullptr;
  return static_cast<HDC>(RegisterObject(std::make_shared<DeviceContext>()));
}

BOOL WINAPI DeleteDC(HDC hdc) {
  if (!LookupDc(hdc)) return FALSE;
  return UnregisterObject(hdc) ? TRUE : FALSE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  auto dc = LookupDc(hdc);
  auto object = LookupObject(h);
  if (!dc || !object) return nullptr;
  DcState& s = dc->m_state;
  switch (object->Type()) {
    case OBJ_PEN: {
      HGDIOBJ previous = HandleOf(s.pen.get());
      s.pen = std::static_pointer_cast<PenObject>(object);
      return previous;
    }
    case OBJ_BRUSH: {
      HGDIOBJ previous = HandleOf(s.brush.get());
      s.brush = std::static_pointer_cast<BrushObject>(object);
      return previous;
    }
    case OBJ_FONT: {
      HGDIOBJ previous = HandleOf(s.font.get());
      s.font = std::static_pointer_cast<FontObject>(object);
      return previous;
    }
    case OBJ_BITMAP: {
      HGDIOBJ previous = s.bitmap ? HandleOf(s.bitmap.get()) : nullptr;
      if (!dc->SelectBitmap(std::static_pointer_cast<BitmapObject>(object))) return nullptr;
      return previous;
    }
    case OBJ_REGION: {
      int kind = SelectClipRgn(hdc, static_cast<HRGN>(h));
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind));
    }
    default: return nullptr;
  }
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  auto object = LookupObject(ho);
  if (!object) return FALSE;
  if (object->m_stock) return TRUE;
  // DCs go through DeleteDC, icons (type 0) through DestroyIcon, metafiles through DeleteMetaFile.
  if (object->Type() == OBJ_DC || object->Type() == OBJ_MEMDC || object->Type() == 0 || object->Type() == OBJ_METAFILE) {
    return FALSE;
  }
  if (auto bitmap = std::dynamic_pointer_cast<BitmapObject>(object); bitmap && bitmap->m_selectedInto != nullptr) {
    // A bitmap still selected into a DC stays; deleting it would pull the DC's surface away.
    return FALSE;
  }
  return UnregisterObject(ho) ? TRUE : FALSE;
}

HGDIOBJ WINAPI GetStockObject(int i) {
  auto object = StockObject(i);
  return object ? HandleOf(object.get()) : nullptr;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  auto dc = LookupDc(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return HandleOf(dc->m_state.pen.get());
    case OBJ_BRUSH: return HandleOf(dc->m_state.brush.get());
    case OBJ_FONT: return HandleOf(dc->m_state.font.get());
    case OBJ_PAL: return HandleOf(dc->m_state.palette.get());
    case OBJ_BITMAP: return dc->m_state.bitmap ? HandleOf(dc->m_state.bitmap.get()) : nullptr;
    default: return nullptr;
  }
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
  auto object = LookupObject(h);
  return object ? object->Type() : 0;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
  auto object = LookupObject(h);
  if (!object) return 0;
  switch (object->Type()) {
    case OBJ_PEN: return CopyOut(&static_cast<PenObject&>(*object).m_pen, sizeof(LOGPEN), c, pv);
    case OBJ_BRUSH: {
      auto& brush = static_cast<BrushObject&>(*object);
      LOGBRUSH lb{brush.m_style, brush.m_color, static_cast<ULONG_PTR>(brush.m_hatch)};
      return CopyOut(&lb, sizeof lb, c, pv);
    }
    case OBJ_FONT: return CopyOut(&static_cast<FontObject&>(*object).m_font, sizeof(LOGFONTA), c, pv);
    case OBJ_BITMAP: return GetBitmapObject(static_cast<BitmapObject&>(*object), c, pv);
    case OBJ_PAL: {
      WORD count = static_cast<WORD>(static_cast<PaletteObject&>(*object).m_entries.size());
      return CopyOut(&count, sizeof count, c, pv);
    }
    default: return 0;
  }
}

int WINAPI SaveDC(HDC hdc) {
  auto dc = LookupDc(hdc);
  return dc ? dc->Save() : 0;
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
  auto dc = LookupDc(hdc);
  return dc && dc->Restore(nSavedDC) ? TRUE : FALSE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  if (!LookupDc(hdc)) return 0;
  DisplayMetrics display = CurrentDisplayMetrics();
  switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return display.width;
    case VERTRES: return display.height;
    case HORZSIZE: return display.width * 254 / (display.dpi * 10);
    case VERTSIZE: return display.height * 254 / (display.dpi * 10);
    case LOGPIXELSX:
    case LOGPIXELSY: return display.dpi;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    default: return 0;
  }
}

BOOL WINAPI GdiFlush(void) {
  FlushAllDibSections();
  return TRUE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, &DcState::textColor, color, CLR_INVALID);
}
COLORREF WINAPI GetTextColor(HDC hdc) { return Read<COLORREF>(hdc, &DcState::textColor, CLR_INVALID); }
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, &DcState::bkColor, color, CLR_INVALID);
}
COLORREF WINAPI GetBkColor(HDC hdc) { return Read<COLORREF>(hdc, &DcState::bkColor, CLR_INVALID); }

int WINAPI SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange<int>(hdc, &DcState::bkMode, mode, 0);
}
int WINAPI GetBkMode(HDC hdc) { return Read<int>(hdc, &DcState::bkMode, 0); }

int WINAPI SetROP2(HDC hdc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return Exchange<int>(hdc, &DcState::rop2, rop2, 0);
}
int WINAPI GetROP2(HDC hdc) { return Read<int>(hdc, &DcState::rop2, 0); }

int WINAPI SetPolyFillMode(HDC hdc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return Exchange<int>(hdc, &DcState::polyFillMode, mode, 0);
}

int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return Exchange<int>(hdc, &DcState::stretchMode, mode, 0);
}
int WINAPI GetStretchBltMode(HDC hdc) { return Read<int>(hdc, &DcState::stretchMode, 0); }

UINT WINAPI SetTextAlign(HDC hdc, UINT align) { return Exchange<UINT>(hdc, &DcState::textAlign, align, GDI_ERROR); }
UINT WINAPI GetTextAlign(HDC hdc) { return Read<UINT>(hdc, &DcState::textAlign, GDI_ERROR); }

BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  auto dc = LookupDc(hdc);
  if (!dc) return FALSE;
  if (lppt != nullptr) *lppt = dc->m_state.brushOrg;
  dc->m_state.brushOrg = POINT{x, y};
  return TRUE;
}

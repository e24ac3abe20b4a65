// Region objects and the DC's clip region.

#include "platform/gdi/device_context.h"
#include "platform/gdi/brush_paint.h"

using namespace vel::platform;

namespace {

std::shared_ptr<RegionObject> LookupRegion(HRGN hrgn) { return Lookup<RegionObject>(hrgn); }

// The clip region a DC has, as the device rectangle of its target when none was selected.
Region CurrentClip(DeviceContext& dc) {
  if (dc.m_state.clip) return *dc.m_state.clip;
  Surface& target = dc.Target();
  POINT origin = dc.Origin();
  return Region(RECT{-origin.x, -origin.y, target.Width() - origin.x, target.Height() - origin.y});
}

int ClipComplexity(DeviceContext& dc) { return dc.EffectiveClip().Complexity(); }

// Narrows (RGN_AND) or cuts into (RGN_DIFF) the clip region with a logical rectangle.
int CombineClipRect(HDC hdc, const RECT& logical, int mode) {
  auto dc = LookupDc(hdc);
  if (!dc) return ERROR;
  POINT a = dc->ToDevice(logical.left, logical.top);
  POINT b = dc->ToDevice(logical.right, logical.bottom);
  dc->m_state.clip = Region::Combine(CurrentClip(*dc), Region(NormalisedRect(RECT{a.x, a.y, b.x, b.y})), mode);
  dc->InvalidateClip();
  return ClipComplexity(*dc);
}

}  // namespace

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
  auto region = std::make_shared<RegionObject>();
  region->m_region = Region(NormalisedRect(RECT{x1, y1, x2, y2}));
  return static_cast<HRGN>(RegisterObject(region));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect) {
  if (lprect == nullptr) return nullptr;
  return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

BOOL WINAPI SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom) {
  auto region = LookupRegion(hrgn);
  if (!region) return FALSE;
  region->m_region = Region(NormalisedRect(RECT{left, top, right, bottom}));
  return TRUE;
}

int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
  auto destination = LookupRegion(hrgnDst);
  auto first = LookupRegion(hrgnSrc1);
  if (!destination || !first || iMode < RGN_AND || iMode > RGN_COPY) return ERROR;
  if (iMode == RGN_COPY) {
    destination->m_region = first->m_region;
  } else {
    auto second = LookupRegion(hrgnSrc2);
    if (!second) return ERROR;
    destination->m_region = Region::Combine(first->m_region, second->m_region, iMode);
  }
  return destination->m_region.Complexity();
}

int WINAPI OffsetRgn(HRGN hrgn, int x, int y) {
  auto region = LookupRegion(hrgn);
  if (!region) return ERROR;
  region->m_region.Offset(x, y);
  return region->m_region.Complexity();
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) {
  auto region = LookupRegion(hrgn);
  if (!region || lprc == nullptr) return ERROR;
  *lprc = region->m_region.Bounds();
  return region->m_region.Complexity();
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
  auto region = LookupRegion(hrgn);
  return region && region->m_region.Contains(x, y) ? TRUE : FALSE;
}

BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* lprect) {
  auto region = LookupRegion(hrgn);
  return region && lprect != nullptr && region->m_region.Overlaps(*lprect) ? TRUE : FALSE;
}

BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2) {
  auto a = LookupRegion(hrgn1);
  auto b = LookupRegion(hrgn2);
  if (!a || !b) return ERROR;
  return a->m_region == b->m_region ? TRUE : FALSE;
}

BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  auto dc = LookupDc(hdc);
  auto region = LookupRegion(hrgn);
  auto brush = Lookup<BrushObject>(hbr);
  if (!dc || !region || !brush) return FALSE;
  // Region coordinates are logical; with MM_TEXT that is a pure offset, which is what regions
  // are used with in practice. Scaled modes map each rectangle's corners.
  BrushPaint paint(*dc, *brush);
  if (!paint.Visible()) return TRUE;
  Painter painter(dc->DrawTarget(), dc->EffectiveClip(), dc->m_state.rop2);
  for (const RECT& r : region->m_region.Rects()) painter.FillRect(dc->RectToSurface(r), paint.Get());
  return TRUE;
}

int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) {
  auto dc = LookupDc(hdc);
  if (!dc) return ERROR;
  if (hrgn == nullptr) {
    if (mode != RGN_COPY) return ERROR;
    dc->m_state.clip.reset();
    dc->InvalidateClip();
    return ClipComplexity(*dc);
  }
  auto region = LookupRegion(hrgn);
  if (!region || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  // Clip regions handed to a DC are in device units: the region is copied, so later changes
  // to the region object do not move the clip.
  dc->m_state.clip = mode == RGN_COPY ? region->m_region : Region::Combine(CurrentClip(*dc), region->m_region, mode);
  dc->InvalidateClip();
  return ClipComplexity(*dc);
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  return CombineClipRect(hdc, RECT{left, top, right, bottom}, RGN_AND);
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  return CombineClipRect(hdc, RECT{left, top, right, bottom}, RGN_DIFF);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
  auto dc = LookupDc(hdc);
  if (!dc || lprect == nullptr) return ERROR;
  const Region& clip = dc->EffectiveClip();
  RECT box = clip.Bounds();
  POINT origin = dc->Origin();
  POINT a = dc->ToLogical(box.left - origin.x, box.top - origin.y);
  POINT b = dc->ToLogical(box.right - origin.x, box.bottom - origin.y);
  *lprect = NormalisedRect(RECT{a.x, a.y, b.x, b.y});
  return clip.Complexity();
}

int WINAPI GetClipRgn(HDC hdc, HRGN hrgn) {
  auto dc = LookupDc(hdc);
  auto region = LookupRegion(hrgn);
  if (!dc || !region) return -1;
  if (!dc->m_state.clip) return 0;
  region->m_region = *dc->m_state.clip;
  return 1;
}

// Pens, brushes and the drawing primitives: lines, polygons, rectangles, rounded rectangles,
// ellipses, pixels and the rectangle helpers FillRect, FrameRect, InvertRect, DrawFocusRect.

#include <algorithm>
#include <vector>

#include "platform/gdi/brush_paint.h"

using namespace vel::platform;

namespace {

HBRUSH RegisterBrush(std::shared_ptr<BrushObject> brush) { return static_cast<HBRUSH>(RegisterObject(brush)); }

// Draws a closed or open chain of logical points with the DC's pen.
void StrokePath(DeviceContext& dc, const POINT* points, int count, bool closed) {
  std::optional<LineStyle> style = PenStyle(dc);
  if (!style || count < 2) return;
  Painter painter(dc.DrawTarget(), dc.EffectiveClip(), dc.m_state.rop2);
  std::vector<POINT> mapped;
  for (int i = 0; i < count; ++i) mapped.push_back(dc.ToSurface(points[i].x, points[i].y));
  for (int i = 0; i + 1 < count; ++i) painter.Line(mapped[i], mapped[i + 1], *style);
  if (closed) painter.Line(mapped.back(), mapped.front(), *style);
}

// Rectangle, RoundRect and Ellipse: a pen ring inside the box and a brush interior. With the
// null pen the filled area is one pixel narrower and shorter, as the original system does.
BOOL DrawShape(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  auto dc = LookupDc(hdc);
  if (!dc) return FALSE;
  RECT box = dc->RectToSurface(RECT{left, top, right, bottom});
  std::optional<LineStyle> pen = PenStyle(*dc);
  if (!pen) {
    box.right -= 1;
    box.bottom -= 1;
  }
  BrushPaint brush(*dc, *dc->m_state.brush);
  Painter painter(dc->DrawTarget(), dc->EffectiveClip(), dc->m_state.rop2);
  std::optional<uint32_t> penColor;
  if (pen) penColor = pen->color;
  painter.RoundedShape(box, dc->ScaleWidth(ellipseWidth), dc->ScaleHeight(ellipseHeight), penColor,
                       pen ? pen->width : 0, brush.Visible() ? &brush.Get() : nullptr);
  return TRUE;
}

// FillRect and friends take logical rectangles and the brush handle or colour index + 1.
std::shared_ptr<BrushObject> BrushFromHandle(HBRUSH hbr) {
  auto brush = Lookup<BrushObject>(hbr);
  if (brush) return brush;
  // A system colour index plus one may stand in for a brush.
  auto index = reinterpret_cast<uintptr_t>(hbr);
  if (index >= 1 && index <= 31) return Lookup<BrushObject>(GetSysColorBrush(static_cast<int>(index - 1)));
  return nullptr;
}

}  // namespace

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
  LOGPEN pen{static_cast<UINT>(iStyle), {std::max(cWidth, 0), 0}, color};
  return CreatePenIndirect(&pen);
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen) {
  if (plpen == nullptr || (plpen->lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME) return nullptr;
  return static_cast<HPEN>(RegisterObject(std::make_shared<PenObject>(*plpen)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  auto brush = std::make_shared<BrushObject>();
  brush->m_color = color;
  return RegisterBrush(brush);
}

HBRUSH WINAPI CreateHatchBrush(int iHatch, COLORREF color) {
  if (iHatch < HS_HORIZONTAL || iHatch > HS_DIAGCROSS) return nullptr;
  auto brush = std::make_shared<BrushObject>();
  brush->m_style = BS_HATCHED;
  brush->m_color = color;
  brush->m_hatch = iHatch;
  return RegisterBrush(brush);
}

HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm) {
  auto bitmap = Lookup<BitmapObject>(hbm);
  if (!bitmap) return nullptr;
  const Surface& source = *bitmap->m_surface;
  auto brush = std::make_shared<BrushObject>();
  brush->m_style = BS_PATTERN;
  brush->m_monoPattern = bitmap->m_bitsPixel == 1;
  // The brush keeps its own copy: the bitmap may be changed or deleted afterwards.
  brush->m_pattern = std::make_shared<Surface>(source.Width(), source.Height());
  for (int y = 0; y < source.Height(); ++y) std::copy_n(source.Row(y), source.Width(), brush->m_pattern->Row(y));
  return RegisterBrush(brush);
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush) {
  if (plbrush == nullptr) return nullptr;
  switch (plbrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(plbrush->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(plbrush->lbHatch), plbrush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(plbrush->lbHatch));
    default: return nullptr;
  }
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  auto dc = LookupDc(hdc);
  if (!dc) return FALSE;
  if (lppt != nullptr) *lppt = dc->m_state.position;
  dc->m_state.position = POINT{x, y};
  return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  auto dc = LookupDc(hdc);
  if (!dc) return FALSE;
  POINT points[2] = {dc->m_state.position, POINT{x, y}};
  StrokePath(*dc, points, 2, false);
  dc->m_state.position = POINT{x, y};
  return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
  auto dc = LookupDc(hdc);
  if (!dc || apt == nullptr || cpt < 2) return FALSE;
  StrokePath(*dc, apt, cpt, false);
  return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
  auto dc = LookupDc(hdc);
  if (!dc || apt == nullptr || cpt < 2) return FALSE;
  BrushPaint brush(*dc, *dc->m_state.brush);
  if (brush.Visible()) {
    std::vector<POINT> mapped;
    for (int i = 0; i < cpt; ++i) mapped.push_back(dc->ToSurface(apt[i].x, apt[i].y));
    Painter painter(dc->DrawTarget(), dc->EffectiveClip(), dc->m_state.rop2);
    painter.FillPolygon(mapped, dc->m_state.polyFillMode, brush.Get());
  }
  StrokePath(*dc, apt, cpt, true);
  return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return DrawShape(hdc, left, top, right, bottom, 0, 0);
}

BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  return DrawShape(hdc, left, top, right, bottom, width, height);
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return DrawShape(hdc, left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  auto dc = LookupDc(hdc);
  if (!dc) return CLR_INVALID;
  POINT p = dc->ToSurface(x, y);
  if (!dc->EffectiveClip().Contains(p.x, p.y)) return CLR_INVALID;
  uint32_t pixel = dc->PixelFor(color);
  dc->DrawTarget().SetPixel(p.x, p.y, pixel);
  return ColorFromPixel(pixel);
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  auto dc = LookupDc(hdc);
  if (!dc) return CLR_INVALID;
  POINT p = dc->ToSurface(x, y);
  Surface& target = dc->Target();
  if (p.x < 0 || p.y < 0 || p.x >= target.Width() || p.y >= target.Height()) return CLR_INVALID;
  return ColorFromPixel(target.Pixel(p.x, p.y) & 0x00FFFFFF);
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  auto dc = LookupDc(hDC);
  auto brush = BrushFromHandle(hbr);
  if (!dc || !brush || lprc == nullptr) return 0;
  BrushPaint paint(*dc, *brush);
  if (!paint.Visible()) return 1;
  // FillRect ignores the mix mode: it always copies the brush.
  Painter painter(dc->DrawTarget(), dc->EffectiveClip());
  painter.FillRect(dc->RectToSurface(*lprc), paint.Get());
  return 1;
}

int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  auto dc = LookupDc(hDC);
  auto brush = BrushFromHandle(hbr);
  if (!dc || !brush || lprc == nullptr) return 0;
  RECT r = dc->RectToSurface(*lprc);
  if (IsEmptyRect(r)) return 1;
  BrushPaint paint(*dc, *brush);
  if (!paint.Visible()) return 1;
  Painter painter(dc->DrawTarget(), dc->EffectiveClip());
  painter.FillRect(RECT{r.left, r.top, r.right, r.top + 1}, paint.Get());
  painter.FillRect(RECT{r.left, r.bottom - 1, r.right, r.bottom}, paint.Get());
  painter.FillRect(RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, paint.Get());
  painter.FillRect(RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, paint.Get());
  return 1;
}

BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc) {
  auto dc = LookupDc(hDC);
  if (!dc || lprc == nullptr) return FALSE;
  Painter painter(dc->DrawTarget(), dc->EffectiveClip(), R2_NOT);
  painter.FillRect(dc->RectToSurface(*lprc), Paint{});
  return TRUE;
}

BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc) {
  auto dc = LookupDc(hDC);
  if (!dc || lprc == nullptr) return FALSE;
  RECT r = dc->RectToSurface(*lprc);
  if (IsEmptyRect(r)) return TRUE;
  // A dotted frame drawn by inverting every other pixel, so drawing it twice removes it.
  Painter painter(dc->DrawTarget(), dc->EffectiveClip(), R2_NOT);
  for (LONG x = r.left; x < r.right; ++x) {
    if ((x - r.left) % 2 != 0) continue;
    painter.Plot(x, r.top, 0);
    if (r.bottom - 1 > r.top) painter.Plot(x, r.bottom - 1, 0);
  }
  for (LONG y = r.top + 1; y < r.bottom - 1; ++y) {
    if ((y - r.top) % 2 != 0) continue;
    painter.Plot(r.left, y, 0);
    if (r.right - 1 > r.left) painter.Plot(r.right - 1, y, 0);
  }
  return TRUE;
}

#include "platform/gdi/device_context.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/bitmap_object_util.h"
#include "platform/gdi/stock_objects.h"

namespace vel::platform {
namespace {

// Scales with rounding to nearest, as MulDiv does; the result is kept in a range where later
// arithmetic cannot overflow.
int ScaleRounded(int64_t value, int64_t numerator, int64_t denominator) {
  if (denominator == 0) return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN / 2, INT32_MAX / 2));
  double scaled = std::round(static_cast<double>(value) * static_cast<double>(numerator) / static_cast<double>(denominator));
  return static_cast<int>(std::clamp(scaled, double{INT32_MIN / 2}, double{INT32_MAX / 2}));
}

}  // namespace

DeviceContext::DeviceContext() {
  m_state.pen = std::static_pointer_cast<PenObject>(StockObject(BLACK_PEN));
  m_state.brush = std::static_pointer_cast<BrushObject>(StockObject(WHITE_BRUSH));
  m_state.font = std::static_pointer_cast<FontObject>(StockObject(DEFAULT_GUI_FONT));
  m_state.palette = std::static_pointer_cast<PaletteObject>(StockObject(DEFAULT_PALETTE));
  m_state.bitmap = StockBitmap();
}

DeviceContext::DeviceContext(std::shared_ptr<Surface> surface, POINT origin, Region visible) : DeviceContext() {
  m_state.bitmap.reset();
  m_surface = std::move(surface);
  m_origin = origin;
  m_visible = std::move(visible);
}

DeviceContext::~DeviceContext() {
  if (m_state.bitmap && m_state.bitmap->m_selectedInto == this) {
    FlushDibSection(*m_state.bitmap);
    m_state.bitmap->m_selectedInto = nullptr;
  }
}

bool DeviceContext::SelectBitmap(std::shared_ptr<BitmapObject> bitmap) {
  if (m_surface || !bitmap) return false;
  if (bitmap->m_selectedInto != nullptr && bitmap->m_selectedInto != this && !bitmap->m_stock) return false;
  if (m_state.bitmap && m_state.bitmap->m_selectedInto == this) {
    FlushDibSection(*m_state.bitmap);
    m_state.bitmap->m_selectedInto = nullptr;
  }
  if (!bitmap->m_stock) bitmap->m_selectedInto = this;
  RefreshFromDibBits(*bitmap);
  m_state.bitmap = std::move(bitmap);
  m_clipValid = false;
  return true;
}

int DeviceContext::Save() {
  m_saved.push_back(m_state);
  return static_cast<int>(m_saved.size());
}

bool DeviceContext::Restore(int savedIndex) {
  int depth = static_cast<int>(m_saved.size());
  int target = savedIndex < 0 ? depth + savedIndex + 1 : savedIndex;
  if (target < 1 || target > depth) return false;
  std::shared_ptr<BitmapObject> bitmap = m_saved[static_cast<size_t>(target - 1)].bitmap;
  if (bitmap != m_state.bitmap && bitmap && !SelectBitmap(bitmap)) return false;
  m_state = std::move(m_saved[static_cast<size_t>(target - 1)]);
  m_saved.resize(static_cast<size_t>(target - 1));
  m_clipValid = false;
  return true;
}

Surface& DeviceContext::Target() { return m_surface ? *m_surface : *m_state.bitmap->m_surface; }

Surface& DeviceContext::DrawTarget() {
  if (!m_surface) MarkDrawn(*m_state.bitmap);
  return Target();
}

bool DeviceContext::IsMonochrome() const { return !m_surface && m_state.bitmap->m_bitsPixel == 1; }

const Region& DeviceContext::EffectiveClip() {
  if (m_clipValid) return m_clipCache;
  Region clip = m_surface ? m_visible : Region(Target().Bounds());
  clip.IntersectWith(Target().Bounds());
  if (m_state.clip) {
    Region user = *m_state.clip;
    user.Offset(m_origin.x, m_origin.y);
    clip = Region::Combine(clip, user, RGN_AND);
  }
  m_clipCache = std::move(clip);
  m_clipValid = true;
  return m_clipCache;
}

void DeviceContext::SetVisibleRegion(Region visible) {
  m_visible = std::move(visible);
  m_clipValid = false;
}

POINT DeviceContext::ToDevice(int x, int y) const {
  const DcState& s = m_state;
  if (s.mapMode == MM_TEXT) return POINT{x - s.windowOrg.x + s.viewportOrg.x, y - s.windowOrg.y + s.viewportOrg.y};
  return POINT{ScaleRounded(int64_t{x} - s.windowOrg.x, s.viewportExt.cx, s.windowExt.cx) + s.viewportOrg.x,
               ScaleRounded(int64_t{y} - s.windowOrg.y, s.viewportExt.cy, s.windowExt.cy) + s.viewportOrg.y};
}

POINT DeviceContext::ToLogical(int x, int y) const {
  const DcState& s = m_state;
  if (s.mapMode == MM_TEXT) return POINT{x - s.viewportOrg.x + s.windowOrg.x, y - s.viewportOrg.y + s.windowOrg.y};
  return POINT{ScaleRounded(int64_t{x} - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x,
               ScaleRounded(int64_t{y} - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y};
}

POINT DeviceContext::ToSurface(int x, int y) const {
  POINT p = ToDevice(x, y);
  return POINT{p.x + m_origin.x, p.y + m_origin.y};
}

RECT DeviceContext::RectToSurface(const RECT& logical) const {
  POINT a = ToSurface(logical.left, logical.top);
  POINT b = ToSurface(logical.right, logical.bottom);
  return NormalisedRect(RECT{a.x, a.y, b.x, b.y});
}

int DeviceContext::ScaleWidth(int logical) const {
  if (m_state.mapMode == MM_TEXT) return std::abs(logical);
  return std::abs(ScaleRounded(logical, m_state.viewportExt.cx, m_state.windowExt.cx));
}

int DeviceContext::ScaleHeight(int logical) const {
  if (m_state.mapMode == MM_TEXT) return std::abs(logical);
  return std::abs(ScaleRounded(logical, m_state.viewportExt.cy, m_state.windowExt.cy));
}

COLORREF ResolveColor(const PaletteObject* palette, COLORREF color) {
  BYTE kind = static_cast<BYTE>(color >> 24);
  if (kind == 0x01) {
    // PALETTEINDEX: the low word picks an entry of the selected palette.
    WORD index = LOWORD(color);
    if (palette == nullptr || index >= palette->m_entries.size()) return RGB(0, 0, 0);
    const PALETTEENTRY& e = palette->m_entries[index];
    return RGB(e.peRed, e.peGreen, e.peBlue);
  }
  // PALETTERGB and plain RGB both mean the colour itself on a true-colour surface.
  return color & 0x00FFFFFF;
}

uint32_t DeviceContext::PixelFor(COLORREF color) const {
  COLORREF resolved = ResolveColor(m_state.palette.get(), color);
  if (IsMonochrome()) {
    // A monochrome target takes the nearer of black and white by brightness.
    int brightness = GetRValue(resolved) * 30 + GetGValue(resolved) * 59 + GetBValue(resolved) * 11;
    return brightness >= 128 * 100 ? 0xFFFFFF : 0x000000;
  }
  return PixelFromColor(resolved);
}

std::shared_ptr<DeviceContext> LookupDc(HDC hdc) { return Lookup<DeviceContext>(hdc); }

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, Region visible) {
  auto dc = std::make_shared<DeviceContext>(std::move(surface), origin, std::move(visible));
  return static_cast<HDC>(RegisterObject(dc));
}

}  // namespace vel::platform

#include "platform/gdi/painter.h"

#include <algorithm>
#include <cmath>

#include "win32.h"

namespace vel::platform {
namespace {

// Dash patterns of the cosmetic pen styles, in pixels: on, off, on, off ...
const std::vector<int>& DashPattern(int style) {
  static const std::vector<int> solid{};
  static const std::vector<int> dash{18, 6};
  static const std::vector<int> dot{3, 3};
  static const std::vector<int> dashDot{9, 6, 3, 6};
  static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    default: return solid;
  }
}

int Modulo(int value, int divisor) {
  int r = value % divisor;
  return r < 0 ? r + divisor : r;
}

}  // namespace

uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dest) {
  if (rop2 == R2_COPYPEN) return pen;
  // R2 codes are 1 + a truth table indexed by (pen bit << 1) | destination bit.
  unsigned table = static_cast<unsigned>(rop2 - 1) & 0xF;
  uint32_t result = 0;
  if (table & 1) result |= ~pen & ~dest;
  if (table & 2) result |= ~pen & dest;
  if (table & 4) result |= pen & ~dest;
  if (table & 8) result |= pen & dest;
  return result & 0x00FFFFFF;
}

bool RoundedSpan(const RECT& rect, int ew, int eh, int y, int& x0, int& x1) {
  if (y < rect.top || y >= rect.bottom || rect.right <= rect.left) return false;
  ew = std::clamp(ew, 0, static_cast<int>(rect.right - rect.left));
  eh = std::clamp(eh, 0, static_cast<int>(rect.bottom - rect.top));
  x0 = rect.left;
  x1 = rect.right;
  if (ew < 2 || eh < 2) return true;
  double rx = ew / 2.0;
  double ry = eh / 2.0;
  double centre = y + 0.5;
  double dy = 0;
  if (centre < rect.top + ry) dy = rect.top + ry - centre;
  if (centre > rect.bottom - ry) dy = centre - (rect.bottom - ry);
  if (dy <= 0) return true;
  double t = 1.0 - (dy / ry) * (dy / ry);
  if (t <= 0) return false;
  int inset = static_cast<int>(std::lround(rx - rx * std::sqrt(t)));
  x0 = rect.left + inset;
  x1 = rect.right - inset;
  return x1 > x0;
}

Painter::Painter(Surface& target, const Region& clip, int rop2) : m_target(target), m_clip(clip), m_rop2(rop2) {}

bool Painter::Visible(int x, int y) const {
  for (const RECT& r : m_clip.Rects()) {
    if (y < r.top) return false;  // Bands are sorted top to bottom.
    if (x >= r.left && x < r.right && y < r.bottom) return true;
  }
  return false;
}

uint32_t SamplePaint(const Paint& paint, int x, int y, bool& hole) {
  hole = false;
  if (paint.pattern == nullptr) return paint.color;
  const Surface& p = *paint.pattern;
  uint32_t value = p.Row(Modulo(y - paint.origin.y, p.Height()))[Modulo(x - paint.origin.x, p.Width())];
  hole = (value & 0xFF000000u) != 0;
  return value & 0x00FFFFFF;
}

void Painter::FillSpan(int y, int x0, int x1, const Paint& paint) {
  for (const RECT& r : m_clip.Rects()) {
    if (y < r.top) break;
    if (y >= r.bottom) continue;
    int from = std::max<int>(x0, r.left);
    int to = std::min<int>(x1, r.right);
    if (from >= to) continue;
    uint32_t* row = m_target.Row(y);
    if (paint.pattern == nullptr && m_rop2 == R2_COPYPEN) {
      std::fill(row + from, row + to, paint.color);
      continue;
    }
    for (int x = from; x < to; ++x) {
      bool hole = false;
      uint32_t value = SamplePaint(paint, x, y, hole);
      if (!hole) row[x] = ApplyRop2(m_rop2, value, row[x] & 0x00FFFFFF);
    }
  }
}

void Painter::FillRect(const RECT& rect, const Paint& paint) {
  RECT n = NormalisedRect(rect);
  for (const RECT& r : m_clip.Rects()) {
    RECT part = IntersectRects(n, r);
    if (IsEmptyRect(part)) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      uint32_t* row = m_target.Row(y);
      if (paint.pattern == nullptr && m_rop2 == R2_COPYPEN) {
        std::fill(row + part.left, row + part.right, paint.color);
        continue;
      }
      for (int x = part.left; x < part.right; ++x) {
        bool hole = false;
        uint32_t value = SamplePaint(paint, x, y, hole);
        if (!hole) row[x] = ApplyRop2(m_rop2, value, row[x] & 0x00FFFFFF);
      }
    }
  }
}

void Painter::Plot(int x, int y, uint32_t color) {
  if (!Visible(x, y)) return;
  uint32_t& pixel = m_target.Row(y)[x];
  pixel = ApplyRop2(m_rop2, color, pixel & 0x00FFFFFF);
}

void Painter::Line(POINT from, POINT to, const LineStyle& style) {
  if (style.width > 1) {
    WideLine(from, to, style);
    return;
  }
  const std::vector<int>& dashes = DashPattern(style.style);
  int64_t dx = int64_t{to.x} - from.x;
  int64_t dy = int64_t{to.y} - from.y;
  int64_t steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  // Only the steps that can land inside the clip are walked, so a line far longer than the
  // surface costs no more than one across it.
  RECT bounds = m_clip.Bounds();
  double t0 = 0.0;
  double t1 = 1.0;
  auto clipAxis = [&](double start, double delta, double low, double high) {
    if (delta == 0) return start >= low && start <= high;
    double a = (low - start) / delta;
    double b = (high - start) / delta;
    if (a > b) std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    return t0 <= t1;
  };
  if (!clipAxis(from.x, static_cast<double>(dx), bounds.left - 1.0, bounds.right + 1.0) ||
      !clipAxis(from.y, static_cast<double>(dy), bounds.top - 1.0, bounds.bottom + 1.0)) {
    return;
  }
  int64_t first = std::max<int64_t>(0, static_cast<int64_t>(std::floor(t0 * static_cast<double>(steps))) - 1);
  int64_t last = std::min<int64_t>(steps, static_cast<int64_t>(std::ceil(t1 * static_cast<double>(steps))) + 1);
  int period = 0;
  for (int length : dashes) period += length;
  // Walk from the start point up to but not including the end point, as LineTo does.
  for (int64_t k = first; k < last; ++k) {
    bool on = true;
    if (period > 0) {
      int phase = static_cast<int>(k % period);
      size_t index = 0;
      while (phase >= dashes[index]) phase -= dashes[index++];
      on = index % 2 == 0;
    }
    if (!on && !style.gapColor) continue;
    // Rounded division keeps the walk symmetric, like Bresenham's.
    auto along = [steps, k](int64_t delta) {
      int64_t numerator = 2 * k * delta + (delta >= 0 ? steps : -steps);
      return numerator / (2 * steps);
    };
    int x = static_cast<int>(from.x + along(dx));
    int y = static_cast<int>(from.y + along(dy));
    Plot(x, y, on ? style.color : *style.gapColor);
  }
}

void Painter::WideLine(POINT from, POINT to, const LineStyle& style) {
  // A wide line is the rectangle around its centre line, filled.
  double dx = static_cast<double>(to.x) - from.x;
  double dy = static_cast<double>(to.y) - from.y;
  double length = std::sqrt(dx * dx + dy * dy);
  double half = style.width / 2.0;
  double nx = length > 0 ? -dy / length * half : half;
  double ny = length > 0 ? dx / length * half : 0;
  double ex = length > 0 ? dx / length * half : 0;
  double ey = length > 0 ? dy / length * half : half;
  auto corner = [](double x, double y) { return POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))}; };
  double cx0 = from.x + 0.5 - ex;
  double cy0 = from.y + 0.5 - ey;
  double cx1 = to.x + 0.5 + ex;
  double cy1 = to.y + 0.5 + ey;
  std::vector<POINT> quad{corner(cx0 + nx, cy0 + ny), corner(cx1 + nx, cy1 + ny), corner(cx1 - nx, cy1 - ny),
                          corner(cx0 - nx, cy0 - ny)};
  FillPolygon(quad, WINDING, Paint{style.color});
}

void Painter::FillPolygon(const std::vector<POINT>& points, int fillMode, const Paint& paint) {
  if (points.size() < 3) return;
  LONG top = points[0].y;
  LONG bottom = points[0].y;
  for (const POINT& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  RECT clipBounds = m_clip.Bounds();
  top = std::max(top, clipBounds.top);
  bottom = std::min(bottom, clipBounds.bottom);
  struct Crossing {
    double x;
    int direction;
  };
  std::vector<Crossing> crossings;
  for (LONG y = top; y < bottom; ++y) {
    double centre = y + 0.5;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const POINT& a = points[i];
      const POINT& b = points[(i + 1) % points.size()];
      if (a.y == b.y) continue;
      bool down = a.y < b.y;
      double y0 = down ? a.y : b.y;
      double y1 = down ? b.y : a.y;
      if (centre < y0 || centre >= y1) continue;
      double x = a.x + (centre - a.y) * static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
      crossings.push_back({x, down ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].direction;
      bool inside = fillMode == WINDING ? winding != 0 : i % 2 == 0;
      if (!inside) continue;
      int x0 = static_cast<int>(std::ceil(crossings[i].x - 0.5));
      int x1 = static_cast<int>(std::ceil(crossings[i + 1].x - 0.5));
      FillSpan(static_cast<int>(y), x0, x1, paint);
    }
  }
}

void Painter::RoundedShape(const RECT& rect, int ew, int eh, std::optional<uint32_t> penColor, int penWidth,
                           const Paint* interior) {
  RECT outer = NormalisedRect(rect);
  int width = penColor ? std::max(penWidth, 1) : 0;
  RECT inner{outer.left + width, outer.top + width, outer.right - width, outer.bottom - width};
  int innerEw = std::max(ew - 2 * width, 0);
  int innerEh = std::max(eh - 2 * width, 0);
  Paint pen{penColor.value_or(0)};
  RECT bounds = m_clip.Bounds();
  for (LONG y = std::max(outer.top, bounds.top); y < std::min(outer.bottom, bounds.bottom); ++y) {
    int ox0 = 0;
    int ox1 = 0;
    if (!RoundedSpan(outer, ew, eh, static_cast<int>(y), ox0, ox1)) continue;
    int ix0 = 0;
    int ix1 = 0;
    bool hasInner = RoundedSpan(inner, innerEw, innerEh, static_cast<int>(y), ix0, ix1);
    if (!hasInner) {
      if (penColor) FillSpan(static_cast<int>(y), ox0, ox1, pen);
      continue;
    }
    if (penColor) {
      FillSpan(static_cast<int>(y), ox0, ix0, pen);
      FillSpan(static_cast<int>(y), ix1, ox1, pen);
    }
    if (interior != nullptr) FillSpan(static_cast<int>(y), ix0, ix1, *interior);
  }
}

void Painter::BlendMask(int x, int y, int width, int height, const uint8_t* coverage, int pitch, uint32_t color,
                        bool threshold) {
  RECT box{x, y, x + width, y + height};
  uint32_t red = (color >> 16) & 0xFF;
  uint32_t green = (color >> 8) & 0xFF;
  uint32_t blue = color & 0xFF;
  for (const RECT& r : m_clip.Rects()) {
    RECT part = IntersectRects(box, r);
    if (IsEmptyRect(part)) continue;
    for (int py = part.top; py < part.bottom; ++py) {
      const uint8_t* source = coverage + static_cast<ptrdiff_t>(py - y) * pitch;
      uint32_t* row = m_target.Row(py);
      for (int px = part.left; px < part.right; ++px) {
        uint32_t alpha = source[px - x];
        if (alpha == 0) continue;
        if (threshold || alpha == 255) {
          if (!threshold || alpha >= 128) row[px] = color;
          continue;
        }
        uint32_t d = row[px];
        uint32_t inverse = 255 - alpha;
        uint32_t r8 = (red * alpha + ((d >> 16) & 0xFF) * inverse + 127) / 255;
        uint32_t g8 = (green * alpha + ((d >> 8) & 0xFF) * inverse + 127) / 255;
        uint32_t b8 = (blue * alpha + (d & 0xFF) * inverse + 127) / 255;
        row[px] = (r8 << 16) | (g8 << 8) | b8;
      }
    }
  }
}

}  // namespace vel::platform

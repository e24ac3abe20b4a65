#include "platform/gdi/brush_paint.h"

namespace vel::platform {
namespace {

constexpr uint32_t kHole = 0xFF000000u;

bool HatchBit(int hatch, int x, int y) {
  switch (hatch) {
    case HS_HORIZONTAL: return y == 4;
    case HS_VERTICAL: return x == 4;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x == 7 - y;
    case HS_CROSS: return x == 4 || y == 4;
    case HS_DIAGCROSS: return x == y || x == 7 - y;
    default: return false;
  }
}

}  // namespace

BrushPaint::BrushPaint(const DeviceContext& dc, const BrushObject& brush) {
  m_paint.origin = POINT{dc.m_state.brushOrg.x + dc.Origin().x, dc.m_state.brushOrg.y + dc.Origin().y};
  switch (brush.m_style) {
    case BS_NULL: m_visible = false; return;
    case BS_HATCHED: {
      uint32_t background = dc.m_state.bkMode == OPAQUE ? dc.PixelFor(dc.m_state.bkColor) : kHole;
      uint32_t foreground = dc.PixelFor(brush.m_color);
      m_tile = std::make_unique<Surface>(8, 8);
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) m_tile->SetPixel(x, y, HatchBit(brush.m_hatch, x, y) ? foreground : background);
      }
      m_paint.pattern = m_tile.get();
      return;
    }
    case BS_PATTERN: {
      if (!brush.m_pattern) {
        m_visible = false;
        return;
      }
      if (!brush.m_monoPattern) {
        m_paint.pattern = brush.m_pattern.get();
        return;
      }
      // Monochrome patterns take the DC's colours: black bits the text colour, white the background.
      const Surface& source = *brush.m_pattern;
      m_tile = std::make_unique<Surface>(source.Width(), source.Height());
      uint32_t zero = dc.PixelFor(dc.m_state.textColor);
      uint32_t one = dc.PixelFor(dc.m_state.bkColor);
      for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) m_tile->SetPixel(x, y, source.Pixel(x, y) != 0 ? one : zero);
      }
      m_paint.pattern = m_tile.get();
      return;
    }
    default: m_paint.color = dc.PixelFor(brush.m_color); return;
  }
}

std::optional<LineStyle> PenStyle(const DeviceContext& dc) {
  const LOGPEN& pen = dc.m_state.pen->m_pen;
  int style = static_cast<int>(pen.lopnStyle & PS_STYLE_MASK);
  if (style == PS_NULL) return std::nullopt;
  LineStyle line;
  line.color = dc.PixelFor(pen.lopnColor);
  line.width = std::max(1, dc.ScaleWidth(pen.lopnWidth.x));
  line.style = style;
  if (dc.m_state.bkMode == OPAQUE) line.gapColor = dc.PixelFor(dc.m_state.bkColor);
  return line;
}

}  // namespace vel::platform

#include "platform/gdi/text_renderer.h"

#include <cmath>

namespace vel::platform {

std::shared_ptr<FontInstance> FontForDc(const DeviceContext& dc) {
  const LOGFONTA& font = dc.m_state.font->m_font;
  int deviceHeight = dc.ScaleHeight(font.lfHeight);
  int deviceWidth = dc.ScaleWidth(font.lfWidth);
  bool monochrome = dc.IsMonochrome();
  DeviceContext::FontCache& cache = dc.m_fontCache;
  // Font objects never change after creation, so the same object at the same scale is the
  // same instance (the cache holds the object's address only while the DC's state holds it).
  if (cache.instance && cache.font == dc.m_state.font.get() && cache.height == deviceHeight &&
      cache.width == deviceWidth && cache.monochrome == monochrome) {
    return cache.instance;
  }
  FontRequest request;
  request.file = ResolveFontFile(font);
  request.height = font.lfHeight < 0 ? -deviceHeight : deviceHeight;
  request.width = deviceWidth;
  request.bold = font.lfWeight >= FW_SEMIBOLD;
  request.italic = font.lfItalic != 0;
  request.antialiased = font.lfQuality != NONANTIALIASED_QUALITY && !monochrome;
  std::shared_ptr<FontInstance> instance = FontInstance::Get(request);
  cache = DeviceContext::FontCache{dc.m_state.font.get(), deviceHeight, deviceWidth, monochrome, instance,
                                   dc.m_state.font};
  return instance;
}

int RunWidth(FontInstance& font, std::string_view text) {
  int width = 0;
  for (char c : text) width += font.Advance(static_cast<unsigned char>(c));
  return width;
}

void DrawGlyphRun(Painter& painter, FontInstance& font, const GlyphRun& run, bool monochrome) {
  int penX = run.x;
  for (size_t i = 0; i < run.text.size(); ++i) {
    const Glyph& glyph = font.GlyphFor(static_cast<unsigned char>(run.text[i]));
    if (!glyph.coverage.empty()) {
      painter.BlendMask(penX + glyph.left, run.baseline - glyph.top, glyph.width, glyph.height, glyph.coverage.data(),
                        glyph.width, run.color, monochrome);
    }
    penX += i < run.advances.size() ? run.advances[i] : glyph.advance;
  }
  const FontMetrics& m = font.Metrics();
  Paint line{run.color};
  if (run.underline) {
    int top = run.baseline + m.underlinePosition - m.underlineThickness / 2;
    painter.FillRect(RECT{run.x, top, penX, top + m.underlineThickness}, line);
  }
  if (run.strikeOut) {
    int top = run.baseline - m.strikeoutPosition;
    painter.FillRect(RECT{run.x, top, penX, top + m.underlineThickness}, line);
  }
}

int DeviceToLogicalLength(const DeviceContext& dc, int length, bool horizontal) {
  const DcState& s = dc.m_state;
  if (s.mapMode == MM_TEXT) return length;
  double window = horizontal ? s.windowExt.cx : s.windowExt.cy;
  double viewport = horizontal ? s.viewportExt.cx : s.viewportExt.cy;
  if (viewport == 0) return length;
  return static_cast<int>(std::lround(std::abs(length * window / viewport)));
}

}  // namespace vel::platform

#pragma once
// Shared text machinery of ExtTextOutA and DrawTextA: the font instance a DC's font stands
// for at the DC's scale, measuring, and drawing a run of glyphs on a baseline.

#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/font_instance.h"
#include "platform/gdi/painter.h"

namespace vel::platform {

/// The font instance for the DC's selected font at its mapping scale; null when no font file
/// could be opened.
std::shared_ptr<FontInstance> FontForDc(const DeviceContext& dc);

/// Keeps a font's new glyphs for later runs when a text call ends, whichever way it returns.
class KeepNewGlyphsAtEnd {
 public:
  explicit KeepNewGlyphsAtEnd(FontInstance& font) : m_font(font) {}
  ~KeepNewGlyphsAtEnd() { m_font.KeepNewGlyphs(); }
  KeepNewGlyphsAtEnd(const KeepNewGlyphsAtEnd&) = delete;
  KeepNewGlyphsAtEnd& operator=(const KeepNewGlyphsAtEnd&) = delete;

 private:
  FontInstance& m_font;
};

/// The device width of a run.
int RunWidth(FontInstance& font, std::string_view text);

struct GlyphRun {
  std::string_view text;
  int x = 0;         ///< Surface x of the pen at the first character.
  int baseline = 0;  ///< Surface y of the baseline.
  /// Per-character device advances; empty to use the font's own.
  std::vector<int> advances;
  uint32_t color = 0;
  bool underline = false;
  bool strikeOut = false;
};

/// Draws glyphs (and any underline or strike-out) through the painter's clip.
void DrawGlyphRun(Painter& painter, FontInstance& font, const GlyphRun& run, bool monochrome);

/// Converts a device length back to logical units along y (x for `horizontal`).
int DeviceToLogicalLength(const DeviceContext& dc, int length, bool horizontal);

}  // namespace vel::platform

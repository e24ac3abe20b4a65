#pragma once
// Clipped pixel operations on a surface: spans, rectangles, lines with cosmetic pen styles,
// polygon and rounded-shape fills, and coverage masks (glyphs). Everything here works in
// surface coordinates; the DC layer maps logical coordinates before calling in.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"
#include "win32.h"

namespace vel::platform {

/// What a fill puts down: one colour, or a pattern tiled from `origin`. Pattern pixels with
/// the top byte set are holes (a hatch drawn with a transparent background).
struct Paint {
  uint32_t color = 0;
  const Surface* pattern = nullptr;
  POINT origin{0, 0};
};

/// A cosmetic line style: device width, PS_* style and the colour of the gaps (none when the
/// background mode is transparent).
struct LineStyle {
  uint32_t color = 0;
  int width = 1;
  int style = 0;
  std::optional<uint32_t> gapColor;
};

/// The paint's pixel at (x, y); `hole` reports a transparent pattern pixel.
uint32_t SamplePaint(const Paint& paint, int x, int y, bool& hole);

/// Combines a pen or brush pixel with a destination pixel under an R2_* mix mode.
uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dest);

/// The x-range [x0, x1) row `y` of a rounded rectangle covers (corner ellipse ew x eh); false
/// when the row misses it. An ellipse is a rounded rectangle whose corners are the whole shape.
bool RoundedSpan(const RECT& rect, int ew, int eh, int y, int& x0, int& x1);

class Painter {
 public:
  Painter(Surface& target, const Region& clip, int rop2 = R2_COPYPEN);

  void FillSpan(int y, int x0, int x1, const Paint& paint);
  void FillRect(const RECT& rect, const Paint& paint);
  void Plot(int x, int y, uint32_t color);
  /// A line from `from` up to but not including `to`.
  void Line(POINT from, POINT to, const LineStyle& style);
  /// Fills a polygon with ALTERNATE or WINDING, sampling pixel centres.
  void FillPolygon(const std::vector<POINT>& points, int fillMode, const Paint& paint);
  /// Draws a rounded rectangle (or ellipse): the pen ring of `penWidth` and the interior.
  void RoundedShape(const RECT& rect, int ew, int eh, std::optional<uint32_t> penColor, int penWidth,
                    const Paint* interior);
  /// Blends an 8-bit coverage mask in `color` with its top-left at (x, y). With `threshold`
  /// set every pixel at least half covered is set outright (monochrome targets).
  void BlendMask(int x, int y, int width, int height, const uint8_t* coverage, int pitch, uint32_t color,
                 bool threshold);

  const Region& Clip() const { return m_clip; }
  Surface& Target() { return m_target; }

 private:
  bool Visible(int x, int y) const;
  void WideLine(POINT from, POINT to, const LineStyle& style);

  Surface& m_target;
  const Region& m_clip;
  int m_rop2;
};

}  // namespace vel::platform

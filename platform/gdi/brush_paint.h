#pragma once
// Turns a brush, as selected into a particular DC, into what the painter fills with: a solid
// colour, a hatch tile coloured by the brush and the DC's background, or a pattern tile.

#include <memory>

#include "platform/gdi/device_context.h"
#include "platform/gdi/painter.h"

namespace vel::platform {

class BrushPaint {
 public:
  BrushPaint(const DeviceContext& dc, const BrushObject& brush);

  /// False for a null brush: nothing is drawn.
  bool Visible() const { return m_visible; }
  const Paint& Get() const { return m_paint; }

 private:
  bool m_visible = true;
  Paint m_paint;
  std::unique_ptr<Surface> m_tile;
};

/// The line style of the DC's pen, or none for a null pen.
std::optional<LineStyle> PenStyle(const DeviceContext& dc);

}  // namespace vel::platform

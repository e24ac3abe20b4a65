#pragma once
// A brush of the mix of two colours: their per-channel average, or, when it must match the
// screen, the screen's nearest solid colour to it (falling back to the second colour when the
// screen cannot show the mix).

#include "runtime/images/color_value.h"
#include "win32.h"

namespace vel::images {

class MixedBrush {
 public:
  MixedBrush(ColorValue first, ColorValue second, bool matchScreen);
  ~MixedBrush();
  MixedBrush(const MixedBrush&) = delete;
  MixedBrush& operator=(const MixedBrush&) = delete;

  HBRUSH Handle() const { return m_brush; }
  /// The colour the brush paints with (meaningless for the null brush).
  COLORREF Color() const { return m_color; }
  bool IsNull() const { return m_null; }

 private:
  HBRUSH m_brush = nullptr;
  COLORREF m_color = 0;
  bool m_null = false;
};

/// The per-channel average of two colours, rounded up.
COLORREF MixColors(COLORREF a, COLORREF b);

}  // namespace vel::images

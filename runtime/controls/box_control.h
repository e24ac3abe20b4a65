#pragma once
// The box (control type 6): a rectangle, with round corners when its definition asks. The first
// colour of its triple fills it (none: not filled), the second draws its border (none: the
// system's window-frame colour); its number is the border's width in pixels (0: one pixel).

#include "runtime/controls/graphic_control.h"

namespace vel::controls {

class BoxControl : public GraphicControl {
 public:
  explicit BoxControl(const windows::Record& record);
  /// A box has no size of its own: an open width or height is 0.
  int DefaultWidth() override { return 0; }
  int DefaultHeight() override { return 0; }
  /// The fill colour's brush, or none when the box is not filled.
  HBRUSH BackgroundBrush() override;

  int LineWidth() const { return m_lineWidth; }

 protected:
  void Paint(HDC dc) override;

 private:
  int m_lineWidth = 1;
};

/// Stores the box's creation function in the control factory (type 6).
void RegisterBoxKind();

}  // namespace vel::controls

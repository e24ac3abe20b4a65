#pragma once
// The graphic controls (boxes and images): "VelGraphic", a class of the runtime's own. They are
// no tab stops and paint themselves; a transparent one leaves its background to the window.

#include "runtime/controls/windowed_control.h"

namespace vel::controls {

class GraphicControl : public WindowedControl {
 public:
  explicit GraphicControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

 protected:
  /// Paints the control's client area.
  virtual void Paint(HDC dc) = 0;
  /// The text the window is made with.
  virtual std::optional<std::string> CreationText(const windows::Record&) const { return std::nullopt; }
};

}  // namespace vel::controls

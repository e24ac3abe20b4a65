#include "runtime/controls/box_control.h"

#include <algorithm>

#include "runtime/controls/control_factory.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

/// The corners' radius in dialog units, so that round corners grow with the window's font.
constexpr int kCornerRadius = 4;

}  // namespace

BoxControl::BoxControl(const windows::Record& record)
    : GraphicControl(record), m_lineWidth(std::max(1, record.extra)) {}

HBRUSH BoxControl::BackgroundBrush() {
  if (m_colours.values[0] == windows::kNoColour) return nullptr;
  return BrushForColourValue(m_colours.values[0]);
}

void BoxControl::Paint(HDC dc) {
  RECT area{};
  GetClientRect(m_handle, &area);
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  std::uint32_t borderValue =
      m_colours.values[1] != windows::kNoColour ? m_colours.values[1] : kSystemColour | COLOR_WINDOWFRAME;
  int line = std::min({m_lineWidth, (width + 1) / 2, (height + 1) / 2});
  HPEN pen = CreatePen(PS_SOLID, line, ColourOfValue(borderValue));
  HBRUSH fill = HasAttribute(kAttrTransparent) ? nullptr : BackgroundBrush();
  HGDIOBJ previousPen = SelectObject(dc, pen);
  HGDIOBJ previousBrush = SelectObject(dc, fill != nullptr ? fill : GetStockObject(NULL_BRUSH));
  if (HasAttribute(kAttrRoundCorners)) {
    windows::UnitConverter dialogUnits(0, m_window->metrics);
    int cornerWidth = std::min(width, 2 * dialogUnits.ToPixelsX(kCornerRadius));
    int cornerHeight = std::min(height, 2 * dialogUnits.ToPixelsY(kCornerRadius));
    RoundRect(dc, 0, 0, width, height, cornerWidth, cornerHeight);
  } else {
    Rectangle(dc, 0, 0, width, height);
  }
  SelectObject(dc, previousBrush);
  SelectObject(dc, previousPen);
  DeleteObject(pen);
}

void RegisterBoxKind() { RegisterControlKind(windows::kKindBox, CreateKind<BoxControl>); }

}  // namespace vel::controls

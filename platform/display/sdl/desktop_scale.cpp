#include "platform/display/sdl/desktop_scale.h"

#include <algorithm>
#include <cmath>

namespace vel::platform {

DesktopScale::DesktopScale(double density) {
  m_density = std::isfinite(density) && density >= 1.0 && density <= 4.0 ? density : 1.0;
}

int DesktopScale::ToDesktop(int pixels) const { return static_cast<int>(std::lround(pixels / m_density)); }

int DesktopScale::LengthToDesktop(int pixels) const {
  if (pixels <= 0) return 0;
  return std::max(1, ToDesktop(pixels));
}

int DesktopScale::ToPixels(int units) const { return static_cast<int>(std::lround(units * m_density)); }

POINT DesktopScale::PointToPixels(int unitsX, int unitsY) const {
  return POINT{static_cast<LONG>(ToPixels(unitsX)), static_cast<LONG>(ToPixels(unitsY))};
}

int DesktopScale::Dpi(float reportedDpi) const {
  if (m_density > 1.0) return static_cast<int>(std::lround(96.0 * m_density));
  if (!std::isfinite(reportedDpi) || reportedDpi < 108 || reportedDpi > 400) return 96;
  return std::clamp(static_cast<int>(reportedDpi / 24.0f + 0.5f) * 24, 96, 192);
}

}  // namespace vel::platform

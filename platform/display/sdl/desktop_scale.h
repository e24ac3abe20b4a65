#pragma once
// How the desktop's window coordinates relate to the device pixels the window manager works
// in. A desktop that scales (a Wayland output at 200 %, say) measures windows in units of
// several pixels; a window asked for in pixels would be blown up by the desktop and its text
// blurred. So the window manager lays out and draws in device pixels, with LOGPIXELSX/Y
// raised to match, and the desktop window is asked for in its own units and shown at full
// resolution. Names no SDL type.

#include "win32.h"

namespace vel::platform {

class DesktopScale {
 public:
  /// `density`: device pixels per desktop unit, as a desktop window measures it (size in
  /// pixels over size in units). Anything not between 1 and 4 is taken as 1.
  explicit DesktopScale(double density = 1.0);

  double Density() const { return m_density; }

  /// A coordinate or length in device pixels, in desktop units (rounded to nearest; a length
  /// of at least one pixel stays at least one unit).
  int ToDesktop(int pixels) const;
  int LengthToDesktop(int pixels) const;
  /// A coordinate in desktop units, in device pixels.
  int ToPixels(int units) const;
  /// A point the desktop reports relative to a window, in device pixels relative to the
  /// window's top-left corner.
  POINT PointToPixels(int unitsX, int unitsY) const;

  /// LOGPIXELSX/Y for the desktop: 96 per unit of density when the desktop scales; otherwise
  /// from the resolution it reports (in steps of a quarter of 96, from 96 to 192; 96 when it
  /// reports nothing believable: virtual screens often claim odd sizes).
  int Dpi(float reportedDpi) const;

 private:
  double m_density = 1.0;
};

}  // namespace vel::platform

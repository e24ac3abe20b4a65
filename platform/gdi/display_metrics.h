#pragma once
// What GDI knows about the screen: its size and its resolution. The display backend reports
// them when it starts; until then the screen is 1024x768 at 96 dots per inch.

namespace vel::platform {

struct DisplayMetrics {
  int width = 1024;
  int height = 768;
  /// Dots per inch, for LOGPIXELSX and LOGPIXELSY.
  int dpi = 96;
};

/// The metrics in force.
DisplayMetrics CurrentDisplayMetrics();
/// Called by the display backend (and tests); a dpi of 0 or less means unknown, i.e. 96.
void SetDisplayMetrics(const DisplayMetrics& metrics);

}  // namespace vel::platform

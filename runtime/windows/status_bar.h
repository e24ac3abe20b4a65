#pragma once
// The status bar at the bottom of a window whose definition lists status zones: one zone per
// width (in the window's unit; -1 takes the width the others leave), texts drawn in the shared
// 8-point "Helv" font, and a height of the font's cell plus its external leading plus eight
// border widths.

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/windows/unit_conversion.h"
#include "win32.h"

namespace vel::windows {

/// Zone width that takes what the fixed zones leave.
inline constexpr std::int32_t kRemainingWidth = -1;

/// The pixel widths of zones over a bar `barWidth` pixels wide: fixed zones converted with
/// `converter`, each -1 zone an equal share of what they leave (never below 0).
std::vector<int> StatusZoneWidths(const std::vector<std::int32_t>& zones, const UnitConverter& converter,
                                  int barWidth);

/// The height of a status bar on this screen.
int StatusBarHeight();

class StatusBar {
 public:
  /// Creates the bar as a child of `window`, with `zones` in the unit `converter` converts.
  StatusBar(HWND window, std::vector<std::int32_t> zones, const UnitConverter& converter);
  ~StatusBar();
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;

  HWND Handle() const { return m_handle; }
  int Height() const { return m_height; }
  /// Places the bar along the bottom of `area` (the window's client rectangle) and lays out
  /// its zones over the full width.
  void LayOut(const RECT& area);
  /// The zones' rectangles in the bar's client coordinates, as last laid out.
  const std::vector<RECT>& ZoneRects() const { return m_zoneRects; }

  void SetText(std::size_t zone, std::string text);
  std::string Text(std::size_t zone) const;
  std::size_t ZoneCount() const { return m_zones.size(); }

  /// Draws the bar (its procedure calls this for WM_PAINT).
  void Paint(HDC dc) const;

 private:
  HWND m_handle = nullptr;
  std::vector<std::int32_t> m_zones;
  UnitConverter m_converter;
  std::vector<std::string> m_texts;
  std::vector<RECT> m_zoneRects;
  int m_border = 1;
  int m_height = 0;
};

}  // namespace vel::windows

#include "runtime/images/color_value.h"

namespace vel::images {
namespace {

// Marks a COLORREF as palette-relative (PALETTERGB).
constexpr COLORREF kPaletteRelative = 0x02000000;

}  // namespace

COLORREF RgbOf(ColorValue value) {
  if (IsNoColor(value)) return RGB(0, 0, 0);
  if (IsSystemColor(value)) return GetSysColor(SystemColorIndex(value));
  return static_cast<COLORREF>(value) & 0x00FFFFFF;
}

COLORREF DrawingColorOf(ColorValue value) {
  if (IsSystemColor(value) || IsNoColor(value)) return RgbOf(value);
  return kPaletteRelative | (static_cast<COLORREF>(value) & 0x00FFFFFF);
}

}  // namespace vel::images

#include "runtime/images/mixed_brush.h"

namespace vel::images {
namespace {

bool IsGrey(COLORREF color) { return GetRValue(color) == GetGValue(color) && GetGValue(color) == GetBValue(color); }

}  // namespace

COLORREF MixColors(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b) + 1) / 2, (GetGValue(a) + GetGValue(b) + 1) / 2,
             (GetBValue(a) + GetBValue(b) + 1) / 2);
}

MixedBrush::MixedBrush(ColorValue first, ColorValue second, bool matchScreen) {
  if (IsNoColor(first) || IsNoColor(second)) {
    m_null = true;
    m_brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return;
  }
  COLORREF mix = MixColors(RgbOf(first), RgbOf(second));
  m_color = mix;
  if (matchScreen) {
    HDC screen = GetDC(nullptr);
    COLORREF nearest = GetNearestColor(screen, mix);
    ReleaseDC(nullptr, screen);
    m_color = nearest == mix || (IsGrey(nearest) && IsGrey(mix)) ? nearest : RgbOf(second);
  }
  m_brush = CreateSolidBrush(m_color);
}

MixedBrush::~MixedBrush() {
  if (!m_null && m_brush != nullptr) DeleteObject(m_brush);
}

}  // namespace vel::images

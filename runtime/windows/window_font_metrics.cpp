#include "runtime/windows/window_font_metrics.h"

#include <cstring>

#include "runtime/windows/screen_context.h"

namespace vel::windows {
namespace {

constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kLetterCount = 52;

UnitMetrics NominalSystemFontMetrics() {
  UnitMetrics metrics;
  metrics.averageCharWidth = 6;
  metrics.charHeight = 13;
  return metrics;
}

}  // namespace

LOGFONTA LogicalFontFor(const FontRecord& font, int dotsPerInchY) {
  LOGFONTA logical{};
  const std::string face = font.face.value_or("System");
  std::strncpy(logical.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  if (font.points > 0) logical.lfHeight = -RoundedMulDiv(font.points, dotsPerInchY, 72);
  bool styled = font.style != kNoColour;
  logical.lfWeight = styled ? static_cast<LONG>(font.style & kFontWeightMask) : FW_NORMAL;
  logical.lfItalic = styled && (font.style & kFontItalic) != 0 ? TRUE : FALSE;
  logical.lfUnderline = styled && (font.style & kFontUnderline) != 0 ? TRUE : FALSE;
  logical.lfStrikeOut = styled && (font.style & kFontStrikeOut) != 0 ? TRUE : FALSE;
  logical.lfCharSet = DEFAULT_CHARSET;
  logical.lfPitchAndFamily = styled && (font.style & kFontFixedPitch) != 0 ? FIXED_PITCH : DEFAULT_PITCH;
  return logical;
}

UnitMetrics MeasureWindowFont(const std::optional<FontRecord>& font) {
  ScreenContext screen;
  HDC dc = screen.Get();
  if (dc == nullptr) return NominalSystemFontMetrics();
  UnitMetrics metrics;
  metrics.dotsPerInchX = GetDeviceCaps(dc, LOGPIXELSX);
  metrics.dotsPerInchY = GetDeviceCaps(dc, LOGPIXELSY);
  if (metrics.dotsPerInchX <= 0) metrics.dotsPerInchX = 96;
  if (metrics.dotsPerInchY <= 0) metrics.dotsPerInchY = 96;

  HFONT created = nullptr;
  if (font) {
    LOGFONTA logical = LogicalFontFor(*font, metrics.dotsPerInchY);
    created = CreateFontIndirectA(&logical);
  }
  HGDIOBJ chosen = created != nullptr ? static_cast<HGDIOBJ>(created) : GetStockObject(SYSTEM_FONT);
  HGDIOBJ previous = SelectObject(dc, chosen);
  TEXTMETRICA textMetrics{};
  SIZE extent{};
  bool measured = GetTextMetricsA(dc, &textMetrics) && GetTextExtentPoint32A(dc, kLetters, kLetterCount, &extent);
  SelectObject(dc, previous);
  if (created != nullptr) DeleteObject(created);
  if (!measured || textMetrics.tmHeight <= 0 || extent.cx <= 0) {
    UnitMetrics nominal = NominalSystemFontMetrics();
    nominal.dotsPerInchX = metrics.dotsPerInchX;
    nominal.dotsPerInchY = metrics.dotsPerInchY;
    return nominal;
  }
  metrics.averageCharWidth = AverageCharWidthFromExtent(extent.cx);
  metrics.charHeight = textMetrics.tmHeight;
  return metrics;
}

}  // namespace vel::windows

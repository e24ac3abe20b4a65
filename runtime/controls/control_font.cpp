#include "runtime/controls/control_font.h"

#include <algorithm>

#include "runtime/windows/screen_context.h"
#include "runtime/windows/window_font_metrics.h"

namespace vel::controls {
namespace {

constexpr COLORREF kPaletteRelative = 0x02000000;
// The width of a character of the font not asked for yet.
constexpr int kUnmeasured = -1;

}  // namespace

FontColourData FontColourData::Merge(const std::optional<windows::FontRecord>& own,
                                     const std::optional<windows::FontRecord>& window) {
  FontColourData data;
  if (window) {
    data.face = window->face;
    data.points = window->points;
    data.style = window->style;
    data.colour = window->colour;
  }
  if (own) {
    if (own->face && !own->face->empty()) data.face = own->face;
    if (own->points > 0) data.points = own->points;
    if (own->style != windows::kNoColour) data.style = own->style;
    if (own->colour != windows::kNoColour) data.colour = own->colour;
  }
  return data;
}

windows::FontRecord FontColourData::AsRecord() const {
  return windows::FontRecord{face, points, colour, style};
}

FontObject::FontObject(const FontColourData& data, HFONT shared)
    : m_textColour(data.colour != windows::kNoColour ? data.colour : kWindowTextColourValue) {
  if (shared != nullptr) {
    m_handle = shared;
  } else {
    windows::ScreenContext screen;
    int dotsPerInch = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    LOGFONTA logical = windows::LogicalFontFor(data.AsRecord(), dotsPerInch > 0 ? dotsPerInch : 96);
    m_handle = CreateFontIndirectA(&logical);
    m_owned = m_handle != nullptr;
  }
  if (m_handle == nullptr) m_handle = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  Measure();
}

FontObject::~FontObject() {
  if (m_owned) DeleteObject(m_handle);
}

void FontObject::Measure() {
  windows::ScreenContext screen;
  HDC dc = screen.Get();
  if (dc == nullptr) return;
  HGDIOBJ previous = SelectObject(dc, m_handle);
  TEXTMETRICA metrics{};
  if (GetTextMetricsA(dc, &metrics)) {
    m_firstChar = static_cast<std::uint8_t>(metrics.tmFirstChar);
    m_lastChar = static_cast<std::uint8_t>(metrics.tmLastChar);
    m_defaultChar = static_cast<std::uint8_t>(metrics.tmDefaultChar);
    m_charHeight = metrics.tmHeight;
    if (m_lastChar >= m_firstChar) std::fill(&m_widths[m_firstChar], &m_widths[m_lastChar] + 1, kUnmeasured);
  }
  SelectObject(dc, previous);
}

void FontObject::MeasureWidths(std::string_view text) const {
  if (std::none_of(text.begin(), text.end(), [this](char c) { return m_widths[static_cast<std::uint8_t>(c)] == kUnmeasured; }))
    return;
  windows::ScreenContext screen;
  HDC dc = screen.Get();
  HGDIOBJ previous = dc != nullptr ? SelectObject(dc, m_handle) : nullptr;
  for (char c : text) {
    auto code = static_cast<std::uint8_t>(c);
    if (m_widths[code] != kUnmeasured) continue;
    int width = 0;
    if (dc == nullptr || !GetCharWidth32A(dc, code, code, &width)) width = 0;
    m_widths[code] = width;
  }
  if (dc != nullptr) SelectObject(dc, previous);
}

int FontObject::CharWidth(std::uint8_t character) const {
  if (m_widths[character] == kUnmeasured) MeasureWidths(std::string_view(reinterpret_cast<const char*>(&character), 1));
  return m_widths[character];
}

int FontObject::TextWidth(std::string_view text) const {
  MeasureWidths(text);
  int width = 0;
  for (char c : text) width += m_widths[static_cast<std::uint8_t>(c)];
  return width;
}

COLORREF ColourOfValue(std::uint32_t value) {
  if (value & 0x80000000u) return GetSysColor(static_cast<int>(value & 0xFFFF));
  return (value & 0x00FFFFFF) | kPaletteRelative;
}

}  // namespace vel::controls

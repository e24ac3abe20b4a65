#pragma once
// The font and colour data a control keeps (face, size, style and colour, from its definition
// and changed by properties) and the font object made from them: the font handle, the text
// colour and the character facts the control measures text with.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/windows/definition_types.h"
#include "win32.h"

namespace vel::controls {

/// What a control's font is made from: its definition's font record, each part not given taken
/// from the window's font.
struct FontColourData {
  std::optional<std::string> face;
  std::int32_t points = 0;
  std::uint32_t style = windows::kNoColour;
  std::uint32_t colour = windows::kNoColour;

  /// The control's own record over the window's: parts the control leaves open are the window's.
  static FontColourData Merge(const std::optional<windows::FontRecord>& own,
                              const std::optional<windows::FontRecord>& window);
  windows::FontRecord AsRecord() const;
};

/// A font made for a control.
class FontObject {
 public:
  /// Makes the font for `data` (at the screen's resolution) and measures it. With `shared`, the
  /// object uses that handle instead and never deletes it (a control that shows the window's
  /// own font).
  FontObject(const FontColourData& data, HFONT shared = nullptr);
  ~FontObject();
  FontObject(const FontObject&) = delete;
  FontObject& operator=(const FontObject&) = delete;

  HFONT Handle() const { return m_handle; }
  /// The colour value for text: the data's, else the system window-text colour.
  std::uint32_t TextColour() const { return m_textColour; }
  std::uint8_t FirstChar() const { return m_firstChar; }
  std::uint8_t LastChar() const { return m_lastChar; }
  std::uint8_t DefaultChar() const { return m_defaultChar; }
  /// The full cell height in pixels.
  int CharHeight() const { return m_charHeight; }
  /// The advance of a character (0 outside first .. last).
  int CharWidth(std::uint8_t character) const;
  /// The advance of a text: the sum of its characters' widths.
  int TextWidth(std::string_view text) const;

 private:
  void Measure();
  /// Measures the characters of `text` not measured yet.
  void MeasureWidths(std::string_view text) const;

  HFONT m_handle = nullptr;
  bool m_owned = false;
  std::uint32_t m_textColour;
  std::uint8_t m_firstChar = 0;
  std::uint8_t m_lastChar = 0;
  std::uint8_t m_defaultChar = 0;
  int m_charHeight = 0;
  // A character's width is measured when it is first asked for: measuring means rasterising
  // the glyph, and a control shows a few of its font's characters, not all of them.
  mutable std::array<int, 256> m_widths{};
};

/// The colour a colour value stands for: bit 31 set names a system colour (its low 16 bits the
/// index); otherwise the low 24 bits are red, green and blue, used as a palette-relative colour.
COLORREF ColourOfValue(std::uint32_t value);

/// The system window-text colour as a colour value.
inline constexpr std::uint32_t kWindowTextColourValue = 0x80000000u | COLOR_WINDOWTEXT;

}  // namespace vel::controls

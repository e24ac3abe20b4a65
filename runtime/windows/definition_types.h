#pragma once
// The values a window definition is made of, as the readers hand them out: positions, fonts,
// colours, text blocks, variable bindings and icon or cursor names. Offsets inside the
// definition body are resolved already; a field whose offset was 0 (or could not be read
// safely) is an empty optional.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vel::windows {

/// The stored value of a position or size that the definition leaves to the window manager.
inline constexpr std::int32_t kNotGiven = INT32_MIN;
/// The stored value of a colour, or a font style, that the definition does not give.
inline constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

/// Record type codes of the records this format defines itself.
enum RecordKind : std::uint8_t {
  kKindImage = 3,
  kKindBox = 6,
  kKindEntry = 8,
  kKindButton = 9,
  kKindPrompt = 10,
  kKindOption = 11,
  kKindGroup = 13,
  kKindList = 14,
  kKindSpin = 16,
  kKindMenu = 19,
  kKindMenuItem = 20,
  kKindRadio = 21,
  kKindMenuBar = 22,
  kKindToolBar = 23,
  kKindWindow = 25,
  kKindReport = 26,
};

/// Coordinate units selected by the window flags (mask 0x300).
enum class Unit : std::uint32_t {
  DialogUnit = 0x000,
  Millimetre = 0x100,
  ThousandthInch = 0x200,
  PointOrPixel = 0x300,
};
inline constexpr std::uint32_t kUnitMask = 0x300;

/// x, y, width and height in the window's unit; any of them may be kNotGiven.
struct Rect {
  std::int32_t x = kNotGiven;
  std::int32_t y = kNotGiven;
  std::int32_t width = kNotGiven;
  std::int32_t height = kNotGiven;
  bool operator==(const Rect&) const = default;
};

/// Style bits of a font record.
inline constexpr std::uint32_t kFontWeightMask = 0x7FF;
inline constexpr std::uint32_t kFontFixedPitch = 0x800;
inline constexpr std::uint32_t kFontItalic = 0x1000;
inline constexpr std::uint32_t kFontUnderline = 0x2000;
inline constexpr std::uint32_t kFontStrikeOut = 0x4000;

/// A font record: face, size in points, text colour and style (both may be "not given").
struct FontRecord {
  std::optional<std::string> face;
  std::int32_t points = 0;
  std::uint32_t colour = kNoColour;
  std::uint32_t style = kNoColour;
  bool operator==(const FontRecord&) const = default;
};

/// Three colour values, each RGB (0x00BBGGRR), a system colour (bit 31 set, low 16 bits the
/// index) or kNoColour. The owner decides what each of the three means.
struct ColourTriple {
  std::uint32_t values[3] = {kNoColour, kNoColour, kNoColour};
  bool operator==(const ColourTriple&) const = default;
};

/// The texts and keys every control (and menu item) carries. In a window record the message,
/// help and keys are the window's defaults and its alert keys.
struct TextBlock {
  std::optional<std::string> message;
  std::optional<std::string> tooltip;
  std::optional<std::string> help;
  std::int32_t number = 0;
  std::vector<std::int32_t> keys;
  bool operator==(const TextBlock&) const = default;
};

/// A variable binding (no data) or a constant (data of `size` bytes, e.g. "threaded|list|tabular").
struct UseDescriptor {
  std::uint8_t kind = 0;
  std::int32_t size = 0;
  std::optional<std::string> data;
  bool operator==(const UseDescriptor&) const = default;
};

/// An icon or cursor name as stored: a text, or a binary stock/program identifier.
struct ResourceName {
  enum class Form : std::uint8_t {
    Text,        ///< "GET.ICO", "~NAME": a resource of the program named by the text
    Stock,       ///< 0xFF 0x01 n: the platform's stock icon or cursor n - 1
    ProgramId,   ///< 0xFF 0x02 n: the program's resource with integer identifier n - 1
  };
  Form form = Form::Text;
  std::string text;
  std::uint16_t identifier = 0;  ///< n - 1 for the binary forms
  bool operator==(const ResourceName&) const = default;
};

/// Bytes of a record that this reader does not interpret, kept so that a definition can be
/// written back unchanged.
struct OpaqueBytes {
  std::uint8_t offset = 0;
  std::string bytes;
  bool operator==(const OpaqueBytes&) const = default;
};

}  // namespace vel::windows

#pragma once
// The byte layout of every record kind: which field sits at which offset and how it is stored.
// The record reader, and the window definition compiler that writes records, both walk these
// tables, so a layout is stated once.

#include <cstdint>
#include <span>

namespace vel::windows {

/// How a field is stored in its record.
enum class FieldType : std::uint8_t {
  Int32,
  UInt32,
  UInt8,
  UInt16,
  Float64,
  Rect,        ///< four int32: x, y, width, height
  String,      ///< int32 offset of a zero-terminated string
  FontRef,     ///< int32 offset of a font record
  ColourRef,   ///< int32 offset of a colour triple
  NameRef,     ///< int32 offset of an icon or cursor name
  UseRef,      ///< int32 offset of a USE descriptor
  TextBlock,   ///< 20 bytes held in the record itself
  KeyList,     ///< int32 offset of a list of int32 values
  StringList,  ///< int32 offset of a list whose values are string offsets
  Link,        ///< int32 offset of another record (chain or child)
  Opaque,      ///< bytes kept as they are
};

/// Which member of a Record a field fills.
enum class FieldId : std::uint8_t {
  Next,
  Flags,
  DropIds,
  Field,
  Name,
  At,
  Use,
  Text,
  Font,
  Cursor,
  Colours,
  TextBlock,
  Icon,
  KeyCode,
  ButtonFlags,
  Delay,
  Repeat,
  Extra,
  Value,
  Picture,
  Justify,
  EditMode,
  Low,
  High,
  Step,
  DropRows,
  DropWidth,
  Values,
  DragIds,
  FirstChild,
  Label,
  Title,
  WindowMessage,
  WindowHelp,
  WindowKeys,
  Attributes,
  Palette,
  Timer,
  MenuBar,
  ToolBar,
  Zones,
  Opaque,
};

/// One field of a record layout. `width` matters only for opaque bytes.
struct FieldSpec {
  FieldId id;
  FieldType type;
  std::uint8_t offset;
  std::uint8_t width = 0;
};

/// The layout of one record kind.
struct RecordLayout {
  std::uint8_t kind;
  const char* keyword;  ///< the word that declares this kind in declaration text
  std::uint32_t size;
  std::span<const FieldSpec> fields;
};

/// The layout of a record kind, or nullptr for a kind this format does not describe.
const RecordLayout* LayoutForKind(std::uint8_t kind);

/// The layout declared by a keyword ("window", "prompt", ...), or nullptr.
const RecordLayout* LayoutForKeyword(const char* keyword, std::size_t length);

/// The head every control record begins with (kind, next link, attributes, drop identifiers,
/// field number, name): 21 bytes. Its kind and keyword are empty.
const RecordLayout& ControlHeadLayout();

/// Every described layout, in kind order.
std::span<const RecordLayout> AllLayouts();

/// The stored width of a field of this type (opaque fields use their own width).
std::uint32_t FieldWidth(const FieldSpec& fieldSpec);

}  // namespace vel::windows

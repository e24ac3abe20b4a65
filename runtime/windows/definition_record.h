#pragma once
// One record of a window definition (window, control, menu bar, menu, menu item or toolbar)
// read field by field through its kind's layout. Every kind fills only the members its layout
// has; the others keep their defaults.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/windows/definition_types.h"
#include "runtime/windows/definition_view.h"
#include "runtime/windows/record_layout.h"

namespace vel::windows {

/// A record with its sub-structures resolved. Links (next, first child, menu bar, toolbar) stay
/// body offsets, to be read in turn.
struct Record {
  std::uint8_t kind = 0;
  std::uint32_t offset = 0;  ///< where the record was read

  // The head shared by all kinds.
  std::uint32_t next = 0;
  std::uint32_t flags = 0;  ///< window flags, control attributes, or menu item flags
  std::vector<std::string> dropIds;
  std::int32_t field = 0;
  std::optional<std::string> name;

  Rect at;
  std::optional<UseDescriptor> use;
  std::optional<std::string> text;
  std::optional<FontRecord> font;
  std::optional<ResourceName> cursor;
  std::optional<ColourTriple> colours;
  /// The control's texts; for a window, its default message and help texts and alert keys.
  TextBlock textBlock;
  std::optional<ResourceName> icon;
  std::int32_t keyCode = 0;
  std::uint8_t buttonFlags = 0;
  std::uint16_t delay = 0;   ///< hundredths of a second
  std::uint16_t repeat = 0;  ///< hundredths of a second
  std::int32_t extra = 0;    ///< the kind's unnamed int32 (radio +73, spin +110, list +25)
  std::optional<std::string> value;
  std::optional<std::string> picture;
  std::int32_t justify = 0;
  std::uint8_t editMode = 0;
  double low = 0;
  double high = 0;
  double step = 0;
  std::uint8_t dropRows = 0;
  std::uint16_t dropWidth = 0;
  std::optional<UseDescriptor> values;
  std::vector<std::string> dragIds;
  std::uint32_t firstChild = 0;

  // Window records only.
  std::optional<std::string> label;
  std::optional<std::string> title;
  std::uint32_t attributes = 0;
  std::int32_t palette = 0;
  std::int32_t timer = 0;  ///< hundredths of a second, 0 = none
  std::uint32_t menuBar = 0;
  std::uint32_t toolBar = 0;
  std::vector<std::int32_t> zones;

  /// Bytes this reader does not interpret, at their record offsets (non-zero runs only).
  std::vector<OpaqueBytes> opaque;

  /// The record's unit (window records).
  Unit UnitOf() const { return static_cast<Unit>(flags & kUnitMask); }
};

/// Window flag: raise the move, size, restore, maximise and iconize events.
inline constexpr std::uint32_t kWindowFlagSizeEvents = 0x800;

/// Window attributes (+81).
inline constexpr std::uint32_t kAttrModal = 0x0008;
inline constexpr std::uint32_t kAttrFrameMask = 0x0060;
inline constexpr std::uint32_t kAttrFrameResizable = 0x0020;
inline constexpr std::uint32_t kAttrFrameDouble = 0x0040;
inline constexpr std::uint32_t kAttrFrameNone = 0x0060;
inline constexpr std::uint32_t kAttrCaptionRule = 0x0400;
inline constexpr std::uint32_t kAttrMaximiseBox = 0x0800;
inline constexpr std::uint32_t kAttrSystemMenu = 0x1000;
inline constexpr std::uint32_t kAttrControlLook = 0x2000;
inline constexpr std::uint32_t kAttrMaximised = 0x4000;
inline constexpr std::uint32_t kAttrMinimised = 0x8000;

/// Button flags (+85 of a button).
inline constexpr std::uint8_t kButtonDefault = 0x01;
inline constexpr std::uint8_t kButtonRequired = 0x02;
inline constexpr std::uint8_t kButtonFlat = 0x40;

/// Menu item flags (+5 of a menu item).
inline constexpr std::uint32_t kItemHasUse = 0x01;
inline constexpr std::uint32_t kItemRight = 0x08;
inline constexpr std::uint32_t kItemSeparator = 0x10;
inline constexpr std::uint32_t kItemGreyed = 0x40;

/// Reads the record at `offset` through its kind's layout. Empty when the offset is 0, the
/// kind is not one this format describes, or the record does not lie wholly in the buffer.
std::optional<Record> ReadRecord(const DefinitionView& view, std::uint32_t offset);

/// Reads the chain of records starting at `offset`, following each record's next link. The
/// chain ends at a link of 0, at a record that cannot be read, or where it would loop.
std::vector<Record> ReadChain(const DefinitionView& view, std::uint32_t offset);

}  // namespace vel::windows

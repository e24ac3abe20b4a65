#include "runtime/windows/record_layout.h"

#include <cstring>

#include "runtime/windows/definition_types.h"

namespace vel::windows {
namespace {

using F = FieldId;
using T = FieldType;

// The head every control, menu and toolbar record starts with.
#define VEL_CONTROL_HEAD \
  {F::Next, T::Link, 1}, {F::Flags, T::UInt32, 5}, {F::DropIds, T::StringList, 9}, \
      {F::Field, T::Int32, 13}, {F::Name, T::String, 17}

// Buttons, radios, groups and toolbars continue the head alike up to their colours.
#define VEL_PLACED_HEAD \
  VEL_CONTROL_HEAD, {F::At, T::Rect, 21}, {F::TextBlock, T::TextBlock, 37}, {F::Font, T::FontRef, 57}, \
      {F::Cursor, T::NameRef, 61}, {F::Colours, T::ColourRef, 65}

// A spin box is an entry with its range appended.
#define VEL_ENTRY_FIELDS \
  VEL_CONTROL_HEAD, {F::Use, T::UseRef, 21}, {F::At, T::Rect, 25}, {F::TextBlock, T::TextBlock, 41}, \
      {F::Font, T::FontRef, 61}, {F::Cursor, T::NameRef, 65}, {F::Colours, T::ColourRef, 69}, \
      {F::Picture, T::String, 73}, {F::Justify, T::Int32, 77}, {F::EditMode, T::UInt8, 81}

constexpr FieldSpec kWindowFields[] = {
    {F::Next, T::Link, 1},           {F::Flags, T::UInt32, 5},
    {F::DropIds, T::StringList, 9},  {F::At, T::Rect, 13},
    {F::FirstChild, T::Link, 29},    {F::Label, T::String, 33},
    {F::Font, T::FontRef, 37},       {F::Title, T::String, 41},
    {F::Opaque, T::Opaque, 45, 8},   {F::Colours, T::ColourRef, 53},
    {F::Icon, T::NameRef, 57},       {F::WindowMessage, T::String, 61},
    {F::Opaque, T::Opaque, 65, 4},   {F::WindowHelp, T::String, 69},
    {F::Opaque, T::Opaque, 73, 4},   {F::WindowKeys, T::KeyList, 77},
    {F::Attributes, T::UInt32, 81},  {F::Palette, T::Int32, 85},
    {F::Timer, T::Int32, 89},        {F::MenuBar, T::Link, 93},
    {F::ToolBar, T::Link, 97},       {F::Cursor, T::NameRef, 101},
    {F::Zones, T::KeyList, 105},     {F::Opaque, T::Opaque, 109, 5},
};

constexpr FieldSpec kPromptFields[] = {
    VEL_CONTROL_HEAD,           {F::At, T::Rect, 21},          {F::Opaque, T::Opaque, 37, 4},
    {F::Text, T::String, 41},   {F::Font, T::FontRef, 45},     {F::Cursor, T::NameRef, 49},
    {F::Colours, T::ColourRef, 53}, {F::Opaque, T::Opaque, 57, 2},
};

constexpr FieldSpec kButtonFields[] = {
    VEL_PLACED_HEAD,
    {F::Text, T::String, 69},
    {F::Icon, T::NameRef, 73},
    {F::Opaque, T::Opaque, 77, 4},
    {F::KeyCode, T::Int32, 81},
    {F::ButtonFlags, T::UInt8, 85},
    {F::Delay, T::UInt16, 86},
    {F::Repeat, T::UInt16, 88},
};

constexpr FieldSpec kRadioFields[] = {
    VEL_PLACED_HEAD,
    {F::Text, T::String, 69},
    {F::Extra, T::Int32, 73},
    {F::Value, T::String, 77},
};

constexpr FieldSpec kEntryFields[] = {
    VEL_ENTRY_FIELDS,
};

constexpr FieldSpec kSpinFields[] = {
    VEL_ENTRY_FIELDS,
    {F::Low, T::Float64, 82},
    {F::High, T::Float64, 90},
    {F::Delay, T::UInt16, 98},
    {F::Repeat, T::UInt16, 100},
    {F::Step, T::Float64, 102},
    {F::Extra, T::Int32, 110},
};

constexpr FieldSpec kListFields[] = {
    VEL_CONTROL_HEAD,
    {F::Use, T::UseRef, 21},
    {F::Extra, T::Int32, 25},
    {F::At, T::Rect, 29},
    {F::TextBlock, T::TextBlock, 45},
    {F::Font, T::FontRef, 65},
    {F::Cursor, T::NameRef, 69},
    {F::Colours, T::ColourRef, 73},
    {F::DropRows, T::UInt8, 77},
    {F::Opaque, T::Opaque, 78, 4},
    {F::DropWidth, T::UInt16, 82},
    {F::Values, T::UseRef, 84},
    {F::Opaque, T::Opaque, 88, 13},
    {F::DragIds, T::StringList, 101},
    {F::Opaque, T::Opaque, 105, 4},
};

constexpr FieldSpec kOptionFields[] = {
    VEL_CONTROL_HEAD,
    {F::Use, T::UseRef, 21},
    {F::At, T::Rect, 25},
    {F::TextBlock, T::TextBlock, 41},
    {F::Font, T::FontRef, 61},
    {F::Cursor, T::NameRef, 65},
    {F::Colours, T::ColourRef, 69},
    {F::Text, T::String, 73},
    {F::FirstChild, T::Link, 77},
    {F::Opaque, T::Opaque, 81, 6},
};

constexpr FieldSpec kGroupFields[] = {
    VEL_PLACED_HEAD,
    {F::Text, T::String, 69},
    {F::FirstChild, T::Link, 73},
    {F::Opaque, T::Opaque, 77, 6},
};

// The menu bar's head stops after the drop-identifier list; its first menu follows at +13.
constexpr FieldSpec kMenuBarFields[] = {
    {F::Next, T::Link, 1},
    {F::Flags, T::UInt32, 5},
    {F::DropIds, T::StringList, 9},
    {F::FirstChild, T::Link, 13},
};

// A menu is laid out like a menu item, with its first item appended.
constexpr FieldSpec kMenuFields[] = {
    VEL_CONTROL_HEAD,
    {F::Use, T::UseRef, 21},
    {F::Text, T::String, 25},
    {F::TextBlock, T::TextBlock, 29},
    {F::KeyCode, T::Int32, 49},
    {F::FirstChild, T::Link, 53},
};

constexpr FieldSpec kMenuItemFields[] = {
    VEL_CONTROL_HEAD,
    {F::Use, T::UseRef, 21},
    {F::Text, T::String, 25},
    {F::TextBlock, T::TextBlock, 29},
    {F::KeyCode, T::Int32, 49},
};

// A toolbar is laid out like a group without a text: its own chain of controls follows the
// colours.
constexpr FieldSpec kToolBarFields[] = {
    VEL_PLACED_HEAD,
    {F::FirstChild, T::Link, 69},
};

// An image shows the picture its text names; its unnamed number is the display mode.
constexpr FieldSpec kImageFields[] = {
    VEL_PLACED_HEAD,
    {F::Text, T::String, 69},
    {F::Extra, T::Int32, 73},
};

// A box draws its rectangle in the colours of its triple; its unnamed number is the width of
// its border line.
constexpr FieldSpec kBoxFields[] = {
    VEL_PLACED_HEAD,
    {F::Extra, T::Int32, 69},
};

// What every control record starts with: a chain reader can follow a record of a kind it has no
// layout for by this alone.
constexpr FieldSpec kHeadFields[] = {
    VEL_CONTROL_HEAD,
};

#undef VEL_ENTRY_FIELDS
#undef VEL_PLACED_HEAD
#undef VEL_CONTROL_HEAD

constexpr RecordLayout kHeadLayout{0, nullptr, 21, kHeadFields};

constexpr RecordLayout kLayouts[] = {
    {kKindImage, "image", 77, kImageFields},
    {kKindBox, "box", 73, kBoxFields},
    {kKindEntry, "entry", 82, kEntryFields},
    {kKindButton, "button", 90, kButtonFields},
    {kKindPrompt, "prompt", 59, kPromptFields},
    {kKindOption, "option", 87, kOptionFields},
    {kKindGroup, "group", 83, kGroupFields},
    {kKindList, "list", 109, kListFields},
    {kKindSpin, "spin", 114, kSpinFields},
    {kKindMenu, "menu", 57, kMenuFields},
    {kKindMenuItem, "item", 53, kMenuItemFields},
    {kKindRadio, "radio", 81, kRadioFields},
    {kKindMenuBar, "menubar", 17, kMenuBarFields},
    {kKindToolBar, "toolbar", 73, kToolBarFields},
    {kKindWindow, "window", 114, kWindowFields},
};

}  // namespace

const RecordLayout* LayoutForKind(std::uint8_t kind) {
  for (const RecordLayout& layout : kLayouts) {
    if (layout.kind == kind) return &layout;
  }
  return nullptr;
}

const RecordLayout* LayoutForKeyword(const char* keyword, std::size_t length) {
  for (const RecordLayout& layout : kLayouts) {
    if (std::strlen(layout.keyword) == length && std::memcmp(layout.keyword, keyword, length) == 0) {
      return &layout;
    }
  }
  return nullptr;
}

const RecordLayout& ControlHeadLayout() { return kHeadLayout; }

std::span<const RecordLayout> AllLayouts() { return kLayouts; }

std::uint32_t FieldWidth(const FieldSpec& fieldSpec) {
  switch (fieldSpec.type) {
    case FieldType::UInt8: return 1;
    case FieldType::UInt16: return 2;
    case FieldType::Float64: return 8;
    case FieldType::Rect: return 16;
    case FieldType::TextBlock: return 20;
    case FieldType::Opaque: return fieldSpec.width;
    default: return 4;
  }
}

}  // namespace vel::windows

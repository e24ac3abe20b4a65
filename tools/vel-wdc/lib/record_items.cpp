#include "tools/vel-wdc/lib/record_items.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "tools/vel-wdc/lib/argument_reader.h"
#include "tools/vel-wdc/lib/flag_names.h"

namespace vel::tools {
namespace {

using windows::FieldId;
using windows::kNotGiven;
using windows::kNoColour;
using windows::Record;

const char* KeywordOf(std::uint8_t kind, FieldId id) {
  switch (id) {
    case FieldId::Flags:
      return kind == windows::kKindWindow || kind == windows::kKindMenuBar || kind == windows::kKindMenu ||
                     kind == windows::kKindMenuItem
                 ? "flags"
                 : "attributes";
    case FieldId::DropIds: return "drop";
    case FieldId::Field: return "field";
    case FieldId::Name: return "name";
    case FieldId::At: return "at";
    case FieldId::Use: return "use";
    case FieldId::Text: return "text";
    case FieldId::Font: return "font";
    case FieldId::Cursor: return "cursor";
    case FieldId::Colours: return "colours";
    case FieldId::Icon: return "icon";
    case FieldId::KeyCode: return "key";
    case FieldId::ButtonFlags: return "flags";
    case FieldId::Delay: return "delay";
    case FieldId::Repeat: return "repeat";
    case FieldId::Extra: return "extra";
    case FieldId::Value: return "value";
    case FieldId::Picture: return "picture";
    case FieldId::Justify: return "justify";
    case FieldId::EditMode: return "mode";
    case FieldId::Low: return "low";
    case FieldId::High: return "high";
    case FieldId::Step: return "step";
    case FieldId::DropRows: return "rows";
    case FieldId::DropWidth: return "dropwidth";
    case FieldId::Values: return "values";
    case FieldId::DragIds: return "drag";
    case FieldId::Label: return "label";
    case FieldId::Title: return "title";
    case FieldId::WindowMessage: return "message";
    case FieldId::WindowHelp: return "help";
    case FieldId::WindowKeys: return "keys";
    case FieldId::Attributes: return "attributes";
    case FieldId::Palette: return "palette";
    case FieldId::Timer: return "timer";
    case FieldId::Zones: return "zones";
    default: return nullptr;
  }
}

FlagTable FlagTableOf(std::uint8_t kind, FieldId id) {
  switch (id) {
    case FieldId::Flags:
      if (kind == windows::kKindWindow) return WindowFlagNames();
      if (kind == windows::kKindMenu || kind == windows::kKindMenuItem) return MenuItemFlagNames();
      if (kind == windows::kKindMenuBar) return {};
      return ControlAttributeNames();
    case FieldId::Attributes: return WindowAttributeNames();
    case FieldId::ButtonFlags: return ButtonFlagNames();
    case FieldId::EditMode: return EditModeNames();
    default: return {};
  }
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string FormatInt(std::int32_t value) { return value == kNotGiven ? "default" : std::to_string(value); }

std::string FormatColour(std::uint32_t value) { return value == kNoColour ? "default" : Hex(value); }

std::string FormatDouble(double value) {
  char text[40];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string FormatList(const std::vector<std::int32_t>& values, bool hex) {
  std::string text;
  for (std::int32_t value : values) {
    if (!text.empty()) text += ", ";
    text += hex ? Hex(static_cast<std::uint32_t>(value)) : std::to_string(value);
  }
  return text;
}

std::string FormatStrings(const std::vector<std::string>& texts) {
  std::string text;
  for (const std::string& each : texts) {
    if (!text.empty()) text += ", ";
    text += QuoteString(each);
  }
  return text;
}

std::string FormatUse(const windows::UseDescriptor& use) {
  std::string text = StorageKindName(use.kind) + ", " + std::to_string(use.size);
  if (use.data) text += ", " + QuoteString(*use.data);
  return text;
}

std::string FormatName(const windows::ResourceName& name) {
  switch (name.form) {
    case windows::ResourceName::Form::Stock: return "stock, " + std::to_string(name.identifier);
    case windows::ResourceName::Form::ProgramId: return "resource, " + std::to_string(name.identifier);
    case windows::ResourceName::Form::Text: break;
  }
  return QuoteString(name.text);
}

std::string FormatFontStyle(std::uint32_t style) {
  if (style == kNoColour) return "default";
  std::string text = std::to_string(style & windows::kFontWeightMask);
  std::uint32_t rest = style & ~windows::kFontWeightMask;
  if (rest != 0) text += " + " + FormatFlags(rest, FontStyleNames());
  return text;
}

std::string FormatFont(const windows::FontRecord& font) {
  return (font.face ? QuoteString(*font.face) : std::string("none")) + ", " + std::to_string(font.points) + ", " +
         FormatColour(font.colour) + ", " + FormatFontStyle(font.style);
}

std::optional<std::string> Optional(bool given, std::string text) {
  if (!given) return std::nullopt;
  return text;
}

std::optional<std::string> FormatString(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return QuoteString(*text);
}

}  // namespace

std::vector<ItemSpec> ItemsOf(const windows::RecordLayout& layout) {
  std::vector<ItemSpec> items;
  for (const windows::FieldSpec& field : layout.fields) {
    if (field.id == FieldId::TextBlock) {
      items.push_back({"message", field, ItemPart::Message});
      items.push_back({"tooltip", field, ItemPart::Tooltip});
      items.push_back({"help", field, ItemPart::Help});
      items.push_back({"number", field, ItemPart::Number});
      items.push_back({"keys", field, ItemPart::Keys});
      continue;
    }
    if (const char* keyword = KeywordOf(layout.kind, field.id)) items.push_back({keyword, field, ItemPart::Whole});
  }
  return items;
}

std::optional<std::string> FormatItem(const Record& record, const ItemSpec& item) {
  const windows::TextBlock& block = record.textBlock;
  switch (item.part) {
    case ItemPart::Message: return FormatString(block.message);
    case ItemPart::Tooltip: return FormatString(block.tooltip);
    case ItemPart::Help: return FormatString(block.help);
    case ItemPart::Number: return Optional(block.number != 0, std::to_string(block.number));
    case ItemPart::Keys: return Optional(!block.keys.empty(), FormatList(block.keys, true));
    case ItemPart::Whole: break;
  }
  FlagTable flagNames = FlagTableOf(record.kind, item.field.id);
  switch (item.field.id) {
    case FieldId::Flags: return Optional(record.flags != 0, FormatFlags(record.flags, flagNames));
    case FieldId::DropIds: return Optional(!record.dropIds.empty(), FormatStrings(record.dropIds));
    case FieldId::Field: return Optional(record.field != 0, std::to_string(record.field));
    case FieldId::Name: return FormatString(record.name);
    case FieldId::At:
      return Optional(record.at != windows::Rect{}, FormatInt(record.at.x) + ", " + FormatInt(record.at.y) + ", " +
                                                       FormatInt(record.at.width) + ", " + FormatInt(record.at.height));
    case FieldId::Use: return Optional(record.use.has_value(), record.use ? FormatUse(*record.use) : "");
    case FieldId::Text: return FormatString(record.text);
    case FieldId::Font: return Optional(record.font.has_value(), record.font ? FormatFont(*record.font) : "");
    case FieldId::Cursor: return Optional(record.cursor.has_value(), record.cursor ? FormatName(*record.cursor) : "");
    case FieldId::Colours:
      if (!record.colours) return std::nullopt;
      return FormatColour(record.colours->values[0]) + ", " + FormatColour(record.colours->values[1]) + ", " +
             FormatColour(record.colours->values[2]);
    case FieldId::Icon: return Optional(record.icon.has_value(), record.icon ? FormatName(*record.icon) : "");
    case FieldId::KeyCode: return Optional(record.keyCode != 0, Hex(static_cast<std::uint32_t>(record.keyCode)));
    case FieldId::ButtonFlags: return Optional(record.buttonFlags != 0, FormatFlags(record.buttonFlags, flagNames));
    case FieldId::Delay: return Optional(record.delay != 0, std::to_string(record.delay));
    case FieldId::Repeat: return Optional(record.repeat != 0, std::to_string(record.repeat));
    case FieldId::Extra: return Optional(record.extra != 0, std::to_string(record.extra));
    case FieldId::Value: return FormatString(record.value);
    case FieldId::Picture: return FormatString(record.picture);
    case FieldId::Justify: return Optional(record.justify != 0, std::to_string(record.justify));
    case FieldId::EditMode: return Optional(record.editMode != 0, FormatFlags(record.editMode, flagNames));
    case FieldId::Low: return Optional(record.low != 0 || std::signbit(record.low), FormatDouble(record.low));
    case FieldId::High: return Optional(record.high != 0 || std::signbit(record.high), FormatDouble(record.high));
    case FieldId::Step: return Optional(record.step != 0 || std::signbit(record.step), FormatDouble(record.step));
    case FieldId::DropRows: return Optional(record.dropRows != 0, std::to_string(record.dropRows));
    case FieldId::DropWidth: return Optional(record.dropWidth != 0, std::to_string(record.dropWidth));
    case FieldId::Values: return Optional(record.values.has_value(), record.values ? FormatUse(*record.values) : "");
    case FieldId::DragIds: return Optional(!record.dragIds.empty(), FormatStrings(record.dragIds));
    case FieldId::Label: return FormatString(record.label);
    case FieldId::Title: return FormatString(record.title);
    case FieldId::WindowMessage: return FormatString(block.message);
    case FieldId::WindowHelp: return FormatString(block.help);
    case FieldId::WindowKeys: return Optional(!block.keys.empty(), FormatList(block.keys, true));
    case FieldId::Attributes: return Optional(record.attributes != 0, FormatFlags(record.attributes, flagNames));
    case FieldId::Palette: return Optional(record.palette != 0, std::to_string(record.palette));
    case FieldId::Timer: return Optional(record.timer != 0, std::to_string(record.timer));
    case FieldId::Zones: return Optional(!record.zones.empty(), FormatList(record.zones, false));
    default: return std::nullopt;
  }
}

void ParseItem(Record& record, const ItemSpec& item, const Item& written, int line) {
  ArgumentReader args(written, line);
  windows::TextBlock& block = record.textBlock;
  auto one = [&] { args.ExpectCount(1, 1); };
  auto atLeastOne = [&] { args.ExpectCount(1, SIZE_MAX); };
  switch (item.part) {
    case ItemPart::Message: one(); block.message = args.String(0); return;
    case ItemPart::Tooltip: one(); block.tooltip = args.String(0); return;
    case ItemPart::Help: one(); block.help = args.String(0); return;
    case ItemPart::Number: one(); block.number = args.Int32(0); return;
    case ItemPart::Keys: atLeastOne(); block.keys = args.IntList(); return;
    case ItemPart::Whole: break;
  }
  FlagTable flagNames = FlagTableOf(record.kind, item.field.id);
  auto small = [&](std::int64_t high) {
    one();
    return args.Integer(args.Single(0), 0, high);
  };
  switch (item.field.id) {
    case FieldId::Flags: one(); record.flags = args.Flags(0, flagNames); return;
    case FieldId::DropIds: atLeastOne(); record.dropIds = args.StringList(); return;
    case FieldId::Field: one(); record.field = args.Int32(0); return;
    case FieldId::Name: one(); record.name = args.String(0); return;
    case FieldId::At:
      args.ExpectCount(4, 4);
      record.at = windows::Rect{args.Coordinate(0), args.Coordinate(1), args.Coordinate(2), args.Coordinate(3)};
      return;
    case FieldId::Use: record.use = args.Use(); return;
    case FieldId::Text: one(); record.text = args.String(0); return;
    case FieldId::Font: record.font = args.Font(); return;
    case FieldId::Cursor: record.cursor = args.Name(); return;
    case FieldId::Colours:
      args.ExpectCount(3, 3);
      record.colours = windows::ColourTriple{{args.Colour(0), args.Colour(1), args.Colour(2)}};
      return;
    case FieldId::Icon: record.icon = args.Name(); return;
    case FieldId::KeyCode: one(); record.keyCode = static_cast<std::int32_t>(args.Bits32(args.Single(0))); return;
    case FieldId::ButtonFlags:
      one();
      record.buttonFlags = static_cast<std::uint8_t>(args.Flags(0, flagNames));
      if (args.Flags(0, flagNames) > 0xFF) args.Fail("button flags are one byte");
      return;
    case FieldId::Delay: record.delay = static_cast<std::uint16_t>(small(0xFFFF)); return;
    case FieldId::Repeat: record.repeat = static_cast<std::uint16_t>(small(0xFFFF)); return;
    case FieldId::Extra: one(); record.extra = args.Int32(0); return;
    case FieldId::Value: one(); record.value = args.String(0); return;
    case FieldId::Picture: one(); record.picture = args.String(0); return;
    case FieldId::Justify: one(); record.justify = args.Int32(0); return;
    case FieldId::EditMode:
      one();
      if (args.Flags(0, flagNames) > 0xFF) args.Fail("the edit mode is one byte");
      record.editMode = static_cast<std::uint8_t>(args.Flags(0, flagNames));
      return;
    case FieldId::Low: one(); record.low = args.Double(0); return;
    case FieldId::High: one(); record.high = args.Double(0); return;
    case FieldId::Step: one(); record.step = args.Double(0); return;
    case FieldId::DropRows: record.dropRows = static_cast<std::uint8_t>(small(0xFF)); return;
    case FieldId::DropWidth: record.dropWidth = static_cast<std::uint16_t>(small(0xFFFF)); return;
    case FieldId::Values: record.values = args.Use(); return;
    case FieldId::DragIds: atLeastOne(); record.dragIds = args.StringList(); return;
    case FieldId::Label: one(); record.label = args.String(0); return;
    case FieldId::Title: one(); record.title = args.String(0); return;
    case FieldId::WindowMessage: one(); block.message = args.String(0); return;
    case FieldId::WindowHelp: one(); block.help = args.String(0); return;
    case FieldId::WindowKeys: atLeastOne(); block.keys = args.IntList(); return;
    case FieldId::Attributes: one(); record.attributes = args.Flags(0, flagNames); return;
    case FieldId::Palette: one(); record.palette = args.Int32(0); return;
    case FieldId::Timer: one(); record.timer = args.Int32(0); return;
    case FieldId::Zones: atLeastOne(); record.zones = args.IntList(); return;
    default: args.Fail("not a field of this record");
  }
}

std::string FormatRaw(const windows::OpaqueBytes& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (char c : bytes.bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (!hex.empty()) hex += ' ';
    hex += kHex[byte >> 4];
    hex += kHex[byte & 15];
  }
  return std::to_string(bytes.offset) + ", \"" + hex + "\"";
}

void ParseRaw(Record& record, const windows::RecordLayout& layout, const Item& written, int line) {
  ArgumentReader args(written, line);
  args.ExpectCount(2, 2);
  auto offset = static_cast<std::uint8_t>(args.Integer(args.Single(0), 0, 255));
  const windows::FieldSpec* field = nullptr;
  for (const windows::FieldSpec& fieldSpec : layout.fields) {
    if (fieldSpec.type == windows::FieldType::Opaque && fieldSpec.offset == offset) field = &fieldSpec;
  }
  if (field == nullptr) args.Fail("no uninterpreted bytes at +" + std::to_string(offset));
  std::string hex = args.String(1);
  std::string bytes;
  int high = -1;
  for (char c : hex) {
    if (c == ' ') continue;
    int digit = HexValue(c);
    if (digit < 0) args.Fail("expected hexadecimal digits");
    if (high < 0) {
      high = digit;
    } else {
      bytes += static_cast<char>(high * 16 + digit);
      high = -1;
    }
  }
  if (high >= 0 || bytes.size() != field->width) {
    args.Fail("expected " + std::to_string(field->width) + " bytes at +" + std::to_string(offset));
  }
  for (windows::OpaqueBytes& existing : record.opaque) {
    if (existing.offset == offset) {
      existing.bytes = bytes;
      return;
    }
  }
  record.opaque.push_back({offset, bytes});
}

}  // namespace vel::tools

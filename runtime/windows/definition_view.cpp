#include "runtime/windows/definition_view.h"

#include <cstring>
#include <unordered_set>

namespace vel::windows {

std::optional<std::uint32_t> DefinitionView::ReadUInt32(std::uint32_t offset) const {
  if (!Holds(offset, 4)) return std::nullopt;
  const std::uint8_t* p = m_bytes.data() + offset;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::optional<std::int32_t> DefinitionView::ReadInt32(std::uint32_t offset) const {
  std::optional<std::uint32_t> value = ReadUInt32(offset);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

std::optional<std::uint16_t> DefinitionView::ReadUInt16(std::uint32_t offset) const {
  if (!Holds(offset, 2)) return std::nullopt;
  const std::uint8_t* p = m_bytes.data() + offset;
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::optional<std::uint8_t> DefinitionView::ReadUInt8(std::uint32_t offset) const {
  if (!Holds(offset, 1)) return std::nullopt;
  return m_bytes[offset];
}

std::optional<double> DefinitionView::ReadFloat64(std::uint32_t offset) const {
  if (!Holds(offset, 8)) return std::nullopt;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | m_bytes[offset + i];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::optional<std::string> DefinitionView::ReadBytes(std::uint32_t offset, std::uint32_t count) const {
  if (!Holds(offset, count)) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(m_bytes.data()) + offset, count);
}

std::optional<std::string_view> DefinitionView::ReadString(std::uint32_t offset) const {
  if (offset == 0) return std::string_view();
  if (offset >= m_bytes.size()) return std::nullopt;
  const char* start = reinterpret_cast<const char*>(m_bytes.data()) + offset;
  const void* end = std::memchr(start, 0, m_bytes.size() - offset);
  if (end == nullptr) return std::nullopt;
  return std::string_view(start, static_cast<const char*>(end) - start);
}

std::optional<std::string> DefinitionView::ReadStringField(std::uint32_t fieldOffset) const {
  std::uint32_t offset = ReadOffsetField(*this, fieldOffset);
  if (offset == 0) return std::nullopt;
  std::optional<std::string_view> text = ReadString(offset);
  if (!text) return std::nullopt;
  return std::string(*text);
}

std::vector<std::int32_t> DefinitionView::ReadList(std::uint32_t offset) const {
  std::vector<std::int32_t> values;
  std::unordered_set<std::uint32_t> seen;
  while (offset != 0 && seen.insert(offset).second) {
    std::optional<std::int32_t> value = ReadInt32(offset);
    std::optional<std::int32_t> next = ReadInt32(offset + 4);
    if (!value || !next || *next < 0) {
      if (value && next) values.push_back(*value);
      break;
    }
    values.push_back(*value);
    offset = static_cast<std::uint32_t>(*next);
  }
  return values;
}

std::vector<std::string> DefinitionView::ReadStringList(std::uint32_t offset) const {
  std::vector<std::string> texts;
  for (std::int32_t value : ReadList(offset)) {
    if (value <= 0) continue;
    std::optional<std::string_view> text = ReadString(static_cast<std::uint32_t>(value));
    if (text) texts.emplace_back(*text);
  }
  return texts;
}

std::optional<FontRecord> DefinitionView::ReadFontRecord(std::uint32_t offset) const {
  if (offset == 0 || !Holds(offset, 16)) return std::nullopt;
  FontRecord font;
  font.face = ReadStringField(offset);
  font.points = *ReadInt32(offset + 4);
  font.colour = *ReadUInt32(offset + 8);
  font.style = *ReadUInt32(offset + 12);
  return font;
}

std::optional<ColourTriple> DefinitionView::ReadColourTriple(std::uint32_t offset) const {
  if (offset == 0 || !Holds(offset, 12)) return std::nullopt;
  ColourTriple colours;
  for (std::uint32_t i = 0; i < 3; ++i) colours.values[i] = *ReadUInt32(offset + 4 * i);
  return colours;
}

std::optional<TextBlock> DefinitionView::ReadTextBlock(std::uint32_t offset) const {
  if (!Holds(offset, 20)) return std::nullopt;
  TextBlock block;
  block.message = ReadStringField(offset);
  block.tooltip = ReadStringField(offset + 4);
  block.help = ReadStringField(offset + 8);
  block.number = *ReadInt32(offset + 12);
  block.keys = ReadList(ReadOffsetField(*this, offset + 16));
  return block;
}

std::optional<UseDescriptor> DefinitionView::ReadUseDescriptor(std::uint32_t offset) const {
  if (offset == 0 || !Holds(offset, 9)) return std::nullopt;
  UseDescriptor use;
  use.kind = m_bytes[offset];
  use.size = *ReadInt32(offset + 1);
  std::int32_t data = *ReadInt32(offset + 5);
  if (data == 0) return use;
  // A constant whose data does not lie wholly in the body is refused as a whole: reading it as
  // a variable binding instead would bind the wrong variable to every later control.
  if (data < 0 || use.size < 0) return std::nullopt;
  use.data = ReadBytes(static_cast<std::uint32_t>(data), static_cast<std::uint32_t>(use.size));
  if (!use.data) return std::nullopt;
  return use;
}

std::optional<ResourceName> DefinitionView::ReadResourceName(std::uint32_t offset) const {
  if (offset == 0) return std::nullopt;
  std::optional<std::uint8_t> first = ReadUInt8(offset);
  if (!first) return std::nullopt;
  if (*first == 0xFF) {
    std::optional<std::uint8_t> form = ReadUInt8(offset + 1);
    std::optional<std::uint16_t> number = ReadUInt16(offset + 2);
    std::optional<std::uint8_t> terminator = ReadUInt8(offset + 4);
    if (!form || !number || !terminator || *terminator != 0 || *number == 0) return std::nullopt;
    ResourceName name;
    if (*form == 0x01) {
      name.form = ResourceName::Form::Stock;
    } else if (*form == 0x02) {
      name.form = ResourceName::Form::ProgramId;
    } else {
      return std::nullopt;
    }
    name.identifier = static_cast<std::uint16_t>(*number - 1);
    return name;
  }
  std::optional<std::string_view> text = ReadString(offset);
  if (!text || text->empty()) return std::nullopt;
  ResourceName name;
  name.text = std::string(*text);
  return name;
}

std::uint32_t ReadOffsetField(const DefinitionView& view, std::uint32_t fieldOffset) {
  std::optional<std::int32_t> offset = view.ReadInt32(fieldOffset);
  if (!offset || *offset <= 0) return 0;
  return static_cast<std::uint32_t>(*offset);
}

}  // namespace vel::windows

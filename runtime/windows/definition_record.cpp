#include "runtime/windows/definition_record.h"

#include <unordered_set>

namespace vel::windows {
namespace {

bool AllZero(const std::string& bytes) {
  for (char c : bytes) {
    if (c != 0) return false;
  }
  return true;
}

void ReadField(const DefinitionView& view, const FieldSpec& fieldSpec, std::uint32_t at, Record& record) {
  auto int32 = [&] { return *view.ReadInt32(at); };
  auto link = [&] { return ReadOffsetField(view, at); };
  switch (fieldSpec.id) {
    case FieldId::Next: record.next = link(); break;
    case FieldId::Flags: record.flags = *view.ReadUInt32(at); break;
    case FieldId::DropIds: record.dropIds = view.ReadStringList(link()); break;
    case FieldId::Field: record.field = int32(); break;
    case FieldId::Name: record.name = view.ReadStringField(at); break;
    case FieldId::At:
      record.at = Rect{int32(), *view.ReadInt32(at + 4), *view.ReadInt32(at + 8), *view.ReadInt32(at + 12)};
      break;
    case FieldId::Use: record.use = view.ReadUseDescriptor(link()); break;
    case FieldId::Text: record.text = view.ReadStringField(at); break;
    case FieldId::Font: record.font = view.ReadFontRecord(link()); break;
    case FieldId::Cursor: record.cursor = view.ReadResourceName(link()); break;
    case FieldId::Colours: record.colours = view.ReadColourTriple(link()); break;
    case FieldId::TextBlock: record.textBlock = *view.ReadTextBlock(at); break;
    case FieldId::Icon: record.icon = view.ReadResourceName(link()); break;
    case FieldId::KeyCode: record.keyCode = int32(); break;
    case FieldId::ButtonFlags: record.buttonFlags = *view.ReadUInt8(at); break;
    case FieldId::Delay: record.delay = *view.ReadUInt16(at); break;
    case FieldId::Repeat: record.repeat = *view.ReadUInt16(at); break;
    case FieldId::Extra: record.extra = int32(); break;
    case FieldId::Value: record.value = view.ReadStringField(at); break;
    case FieldId::Picture: record.picture = view.ReadStringField(at); break;
    case FieldId::Justify: record.justify = int32(); break;
    case FieldId::EditMode: record.editMode = *view.ReadUInt8(at); break;
    case FieldId::Low: record.low = *view.ReadFloat64(at); break;
    case FieldId::High: record.high = *view.ReadFloat64(at); break;
    case FieldId::Step: record.step = *view.ReadFloat64(at); break;
    case FieldId::DropRows: record.dropRows = *view.ReadUInt8(at); break;
    case FieldId::DropWidth: record.dropWidth = *view.ReadUInt16(at); break;
    case FieldId::Values: record.values = view.ReadUseDescriptor(link()); break;
    case FieldId::DragIds: record.dragIds = view.ReadStringList(link()); break;
    case FieldId::FirstChild: record.firstChild = link(); break;
    case FieldId::Label: record.label = view.ReadStringField(at); break;
    case FieldId::Title: record.title = view.ReadStringField(at); break;
    case FieldId::WindowMessage: record.textBlock.message = view.ReadStringField(at); break;
    case FieldId::WindowHelp: record.textBlock.help = view.ReadStringField(at); break;
    case FieldId::WindowKeys: record.textBlock.keys = view.ReadList(link()); break;
    case FieldId::Attributes: record.attributes = *view.ReadUInt32(at); break;
    case FieldId::Palette: record.palette = int32(); break;
    case FieldId::Timer: record.timer = int32(); break;
    case FieldId::MenuBar: record.menuBar = link(); break;
    case FieldId::ToolBar: record.toolBar = link(); break;
    case FieldId::Zones: record.zones = view.ReadList(link()); break;
    case FieldId::Opaque: {
      std::string bytes = *view.ReadBytes(at, fieldSpec.width);
      if (!AllZero(bytes)) record.opaque.push_back({fieldSpec.offset, std::move(bytes)});
      break;
    }
  }
}

std::optional<Record> ReadThroughLayout(const DefinitionView& view, std::uint32_t offset, std::uint8_t kind,
                                        const RecordLayout& layout) {
  // The size check covers every fixed-width read below, so they cannot fail.
  if (!view.ReadBytes(offset, layout.size)) return std::nullopt;
  Record record;
  record.kind = kind;
  record.offset = offset;
  for (const FieldSpec& fieldSpec : layout.fields) ReadField(view, fieldSpec, offset + fieldSpec.offset, record);
  return record;
}

// A record of a chain: through its kind's layout, or by the head alone when the kind has none,
// so that one record this reader does not know costs that record only.
std::optional<Record> ReadChainRecord(const DefinitionView& view, std::uint32_t offset) {
  std::optional<std::uint8_t> kind = view.ReadUInt8(offset);
  if (!kind) return std::nullopt;
  const RecordLayout* layout = LayoutForKind(*kind);
  return ReadThroughLayout(view, offset, *kind, layout != nullptr ? *layout : ControlHeadLayout());
}

}  // namespace

std::optional<Record> ReadRecord(const DefinitionView& view, std::uint32_t offset) {
  if (offset == 0) return std::nullopt;
  std::optional<std::uint8_t> kind = view.ReadUInt8(offset);
  if (!kind) return std::nullopt;
  const RecordLayout* layout = LayoutForKind(*kind);
  if (layout == nullptr) return std::nullopt;
  return ReadThroughLayout(view, offset, *kind, *layout);
}

std::vector<Record> ReadChain(const DefinitionView& view, std::uint32_t offset) {
  std::vector<Record> chain;
  std::unordered_set<std::uint32_t> seen;
  while (offset != 0 && seen.insert(offset).second) {
    std::optional<Record> record = ReadChainRecord(view, offset);
    if (!record) break;
    offset = record->next;
    chain.push_back(std::move(*record));
  }
  return chain;
}

}  // namespace vel::windows

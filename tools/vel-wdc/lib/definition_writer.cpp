#include "tools/vel-wdc/lib/definition_writer.h"

#include <cstring>
#include <string_view>

#include "runtime/windows/record_layout.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"

namespace vel::tools {
namespace {

using windows::FieldId;
using windows::FieldSpec;
using windows::FieldType;
using windows::Record;

// Sub-structure offsets of one record, gathered before the record itself is written.
struct Prepared {
  std::uint32_t offsets[64] = {};
  std::uint32_t blockTexts[3] = {};
  std::uint32_t blockKeys = 0;
};

class BodyWriter {
 public:
  BodyWriter() : m_body(6, 0) {}  // offset base (2 bytes) and the first-record offset

  std::vector<std::uint8_t> Write(const DefinitionSource& source) {
    std::uint32_t previous = 0;
    for (const Declaration& window : source.windows) {
      std::uint32_t offset = WriteTree(window);
      PatchInt32(previous == 0 ? 2 : previous + 1, offset);
      previous = offset;
    }
    if (m_body.size() > 0x7FFFFFFF) throw DeclarationError(0, "the definition is too large");
    std::vector<std::uint8_t> resource(source.qualifiedName.begin(), source.qualifiedName.end());
    resource.push_back(0);
    resource.insert(resource.end(), m_body.begin() + 2, m_body.end());
    return resource;
  }

 private:
  std::uint32_t Here() const { return static_cast<std::uint32_t>(m_body.size()); }

  void AppendInt32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) m_body.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  void PatchBytes(std::uint32_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) m_body[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  void PatchInt32(std::uint32_t at, std::uint32_t value) { PatchBytes(at, value, 4); }

  // Strings: a text already written whole, or as the tail of a longer one, is reused.
  std::uint32_t String(std::string_view text) {
    for (const auto& [offset, written] : m_strings) {
      if (written.size() >= text.size() && std::string_view(written).ends_with(text)) {
        return offset + static_cast<std::uint32_t>(written.size() - text.size());
      }
    }
    std::uint32_t offset = Here();
    m_body.insert(m_body.end(), text.begin(), text.end());
    m_body.push_back(0);
    m_strings.emplace_back(offset, std::string(text));
    return offset;
  }
  std::uint32_t OptionalString(const std::optional<std::string>& text) { return text ? String(*text) : 0; }

  std::uint32_t List(const std::vector<std::int32_t>& values) {
    if (values.empty()) return 0;
    std::uint32_t first = Here();
    for (std::size_t i = 0; i < values.size(); ++i) {
      AppendInt32(static_cast<std::uint32_t>(values[i]));
      AppendInt32(i + 1 < values.size() ? Here() + 4 : 0);
    }
    return first;
  }

  std::uint32_t StringList(const std::vector<std::string>& texts) {
    std::vector<std::int32_t> offsets;
    for (const std::string& text : texts) offsets.push_back(static_cast<std::int32_t>(String(text)));
    return List(offsets);
  }

  // The font record comes first and its face right after it, unless the face is a tail of a
  // string already written.
  std::uint32_t Font(const std::optional<windows::FontRecord>& font) {
    if (!font) return 0;
    std::uint32_t offset = Here();
    AppendInt32(0);
    AppendInt32(static_cast<std::uint32_t>(font->points));
    AppendInt32(font->colour);
    AppendInt32(font->style);
    PatchInt32(offset, OptionalString(font->face));
    return offset;
  }

  std::uint32_t Colours(const std::optional<windows::ColourTriple>& colours) {
    if (!colours) return 0;
    std::uint32_t offset = Here();
    for (std::uint32_t value : colours->values) AppendInt32(value);
    return offset;
  }

  std::uint32_t Name(const std::optional<windows::ResourceName>& name) {
    if (!name) return 0;
    if (name->form == windows::ResourceName::Form::Text) return String(name->text);
    std::uint32_t offset = Here();
    std::uint16_t stored = static_cast<std::uint16_t>(name->identifier + 1);
    m_body.push_back(0xFF);
    m_body.push_back(name->form == windows::ResourceName::Form::Stock ? 0x01 : 0x02);
    m_body.push_back(static_cast<std::uint8_t>(stored));
    m_body.push_back(static_cast<std::uint8_t>(stored >> 8));
    m_body.push_back(0);
    return offset;
  }

  std::uint32_t Use(const std::optional<windows::UseDescriptor>& use) {
    if (!use) return 0;
    std::uint32_t data = use->data ? String(*use->data) : 0;
    std::uint32_t offset = Here();
    m_body.push_back(use->kind);
    AppendInt32(static_cast<std::uint32_t>(use->size));
    AppendInt32(data);
    return offset;
  }

  Prepared Prepare(const Record& record, const windows::RecordLayout& layout) {
    Prepared prepared;
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
      std::uint32_t& offset = prepared.offsets[i];
      switch (layout.fields[i].id) {
        case FieldId::DropIds: offset = StringList(record.dropIds); break;
        case FieldId::Name: offset = OptionalString(record.name); break;
        case FieldId::Use: offset = Use(record.use); break;
        case FieldId::Text: offset = OptionalString(record.text); break;
        case FieldId::Font: offset = Font(record.font); break;
        case FieldId::Cursor: offset = Name(record.cursor); break;
        case FieldId::Colours: offset = Colours(record.colours); break;
        case FieldId::Icon: offset = Name(record.icon); break;
        case FieldId::Value: offset = OptionalString(record.value); break;
        case FieldId::Picture: offset = OptionalString(record.picture); break;
        case FieldId::Values: offset = Use(record.values); break;
        case FieldId::DragIds: offset = StringList(record.dragIds); break;
        case FieldId::Label: offset = OptionalString(record.label); break;
        case FieldId::Title: offset = OptionalString(record.title); break;
        case FieldId::WindowMessage: offset = OptionalString(record.textBlock.message); break;
        case FieldId::WindowHelp: offset = OptionalString(record.textBlock.help); break;
        case FieldId::WindowKeys: offset = List(record.textBlock.keys); break;
        case FieldId::Zones: offset = List(record.zones); break;
        case FieldId::TextBlock:
          prepared.blockTexts[0] = OptionalString(record.textBlock.message);
          prepared.blockTexts[1] = OptionalString(record.textBlock.tooltip);
          prepared.blockTexts[2] = OptionalString(record.textBlock.help);
          prepared.blockKeys = List(record.textBlock.keys);
          break;
        default: break;
      }
    }
    return prepared;
  }

  void Fill(const Record& record, const FieldSpec& field, std::uint32_t prepared, const Prepared& all,
            std::uint32_t at) {
    auto int32 = [&](std::int64_t value) { PatchBytes(at, static_cast<std::uint64_t>(value), 4); };
    auto float64 = [&](double value) {
      std::uint64_t bits;
      std::memcpy(&bits, &value, sizeof bits);
      PatchBytes(at, bits, 8);
    };
    switch (field.id) {
      case FieldId::Flags: int32(record.flags); break;
      case FieldId::Field: int32(record.field); break;
      case FieldId::At:
        PatchInt32(at, static_cast<std::uint32_t>(record.at.x));
        PatchInt32(at + 4, static_cast<std::uint32_t>(record.at.y));
        PatchInt32(at + 8, static_cast<std::uint32_t>(record.at.width));
        PatchInt32(at + 12, static_cast<std::uint32_t>(record.at.height));
        break;
      case FieldId::TextBlock:
        for (int i = 0; i < 3; ++i) PatchInt32(at + 4 * i, all.blockTexts[i]);
        PatchInt32(at + 12, static_cast<std::uint32_t>(record.textBlock.number));
        PatchInt32(at + 16, all.blockKeys);
        break;
      case FieldId::KeyCode: int32(record.keyCode); break;
      case FieldId::ButtonFlags: PatchBytes(at, record.buttonFlags, 1); break;
      case FieldId::Delay: PatchBytes(at, record.delay, 2); break;
      case FieldId::Repeat: PatchBytes(at, record.repeat, 2); break;
      case FieldId::Extra: int32(record.extra); break;
      case FieldId::Justify: int32(record.justify); break;
      case FieldId::EditMode: PatchBytes(at, record.editMode, 1); break;
      case FieldId::Low: float64(record.low); break;
      case FieldId::High: float64(record.high); break;
      case FieldId::Step: float64(record.step); break;
      case FieldId::DropRows: PatchBytes(at, record.dropRows, 1); break;
      case FieldId::DropWidth: PatchBytes(at, record.dropWidth, 2); break;
      case FieldId::Attributes: int32(record.attributes); break;
      case FieldId::Palette: int32(record.palette); break;
      case FieldId::Timer: int32(record.timer); break;
      case FieldId::Opaque:
        for (const windows::OpaqueBytes& bytes : record.opaque) {
          if (bytes.offset == field.offset) {
            std::memcpy(m_body.data() + at, bytes.bytes.data(), std::min<std::size_t>(bytes.bytes.size(), field.width));
          }
        }
        break;
      case FieldId::Next:
      case FieldId::FirstChild:
      case FieldId::MenuBar:
      case FieldId::ToolBar: break;  // linked once the records they point at are written
      default: PatchInt32(at, prepared); break;
    }
  }

  static std::uint32_t FieldOffset(const windows::RecordLayout& layout, FieldId id) {
    for (const FieldSpec& field : layout.fields) {
      if (field.id == id) return field.offset;
    }
    return 0;
  }

  std::uint32_t WriteChain(const std::vector<Declaration>& declarations) {
    std::uint32_t first = 0;
    std::uint32_t previous = 0;
    for (const Declaration& declaration : declarations) {
      std::uint32_t offset = WriteTree(declaration);
      if (previous == 0) {
        first = offset;
      } else {
        PatchInt32(previous + 1, offset);
      }
      previous = offset;
    }
    return first;
  }

  std::uint32_t WriteTree(const Declaration& declaration) {
    const Record& record = declaration.record;
    const windows::RecordLayout* layout = windows::LayoutForKind(record.kind);
    if (layout == nullptr) throw DeclarationError(0, "record kind " + std::to_string(record.kind) + " has no layout");
    Prepared prepared = Prepare(record, *layout);
    std::uint32_t offset = Here();
    m_body.resize(m_body.size() + layout->size, 0);
    m_body[offset] = record.kind;
    for (std::size_t i = 0; i < layout->fields.size(); ++i) {
      Fill(record, layout->fields[i], prepared.offsets[i], prepared, offset + layout->fields[i].offset);
    }
    if (!declaration.menuBar.empty()) {
      PatchInt32(offset + FieldOffset(*layout, FieldId::MenuBar), WriteChain(declaration.menuBar));
    }
    if (!declaration.toolBar.empty()) {
      PatchInt32(offset + FieldOffset(*layout, FieldId::ToolBar), WriteChain(declaration.toolBar));
    }
    if (!declaration.children.empty()) {
      PatchInt32(offset + FieldOffset(*layout, FieldId::FirstChild), WriteChain(declaration.children));
    }
    return offset;
  }

  std::vector<std::uint8_t> m_body;
  std::vector<std::pair<std::uint32_t, std::string>> m_strings;
};

}  // namespace

std::vector<std::uint8_t> WriteDefinitionResource(const DefinitionSource& source) {
  return BodyWriter().Write(source);
}

}  // namespace vel::tools

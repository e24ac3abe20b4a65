#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/record_items.h"

namespace vel::tools {
namespace {

using windows::FieldId;

bool HasField(const windows::RecordLayout& layout, FieldId id) {
  for (const windows::FieldSpec& field : layout.fields) {
    if (field.id == id) return true;
  }
  return false;
}

class DeclarationParser {
 public:
  DefinitionSource Parse(std::string_view text) {
    int number = 0;
    while (!text.empty()) {
      std::size_t end = text.find('\n');
      std::string_view lineText = text.substr(0, end);
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
      ++number;
      Line line = ParseLine(lineText, number);
      if (!line.keyword.empty()) Take(line);
    }
    if (!m_open.empty()) throw DeclarationError(number, "missing \"end\" for a block");
    if (!m_sawDefinition) throw DeclarationError(0, "no \"definition\" line");
    if (m_source.windows.empty()) throw DeclarationError(0, "no window declared");
    return std::move(m_source);
  }

 private:
  [[noreturn]] static void Fail(const Line& line, const std::string& message) {
    throw DeclarationError(line.number, message);
  }

  void Take(const Line& line) {
    if (line.keyword == "definition") {
      if (m_sawDefinition || !line.lead || !line.items.empty()) {
        Fail(line, "expected one line: definition \"program$MODULE\"");
      }
      RequireNoZeroByte(*line.lead, line.number);
      m_source.qualifiedName = *line.lead;
      m_sawDefinition = true;
      return;
    }
    if (!m_sawDefinition) Fail(line, "the first line must be: definition \"program$MODULE\"");
    if (line.keyword == "end") {
      if (m_open.empty() || line.lead || !line.items.empty()) Fail(line, "\"end\" without a block to close");
      m_open.pop_back();
      return;
    }
    const windows::RecordLayout* layout = windows::LayoutForKeyword(line.keyword.data(), line.keyword.size());
    if (layout == nullptr) Fail(line, "unknown keyword " + line.keyword);
    Declaration declaration;
    declaration.record = ReadRecordLine(line, *layout);
    Declaration& placed = Place(line, std::move(declaration));
    if (HasField(*layout, FieldId::FirstChild)) m_open.push_back(&placed);
  }

  windows::Record ReadRecordLine(const Line& line, const windows::RecordLayout& layout) {
    windows::Record record;
    record.kind = layout.kind;
    std::vector<ItemSpec> items = ItemsOf(layout);
    if (line.lead) {
      FieldId leadField = layout.kind == windows::kKindWindow ? FieldId::Label : FieldId::Text;
      if (!HasField(layout, leadField)) Fail(line, std::string("a ") + layout.keyword + " has no text");
      RequireNoZeroByte(*line.lead, line.number);
      if (leadField == FieldId::Label) {
        record.label = *line.lead;
      } else {
        record.text = *line.lead;
      }
    }
    bool fieldGiven = false;
    for (const Item& written : line.items) {
      if (written.name == kRawKeyword) {
        ParseRaw(record, layout, written, line.number);
        continue;
      }
      const ItemSpec* itemSpec = nullptr;
      for (const ItemSpec& item : items) {
        if (written.name == item.keyword) itemSpec = &item;
      }
      if (itemSpec == nullptr) Fail(line, "a " + std::string(layout.keyword) + " has no item " + written.name);
      ParseItem(record, *itemSpec, written, line.number);
      fieldGiven = fieldGiven || itemSpec->field.id == FieldId::Field;
    }
    if (layout.kind == windows::kKindWindow) {
      if (!record.label) Fail(line, "a window needs its label: window \"LABEL\"");
      m_lastField = 0;
    } else if (HasField(layout, FieldId::Field)) {
      // Separators and the toolbar are no fields; they take a number only when one is written.
      bool noField = layout.kind == windows::kKindToolBar ||
                     (layout.kind == windows::kKindMenuItem && (record.flags & windows::kItemSeparator) != 0);
      if (!fieldGiven && !noField) record.field = m_lastField + 1;
      if (record.field != 0) m_lastField = record.field;
    }
    return record;
  }

  Declaration& Place(const Line& line, Declaration declaration) {
    std::uint8_t kind = declaration.record.kind;
    if (kind == windows::kKindWindow) {
      if (!m_open.empty()) Fail(line, "a window cannot be declared inside another block");
      m_source.windows.push_back(std::move(declaration));
      return m_source.windows.back();
    }
    if (m_open.empty()) Fail(line, "a record must be declared inside a window");
    Declaration& parent = *m_open.back();
    std::uint8_t parentKind = parent.record.kind;
    bool inMenus = parentKind == windows::kKindMenuBar || parentKind == windows::kKindMenu;
    bool isMenuPart = kind == windows::kKindMenu || kind == windows::kKindMenuItem;
    if (kind == windows::kKindMenuBar || kind == windows::kKindToolBar) {
      if (parentKind != windows::kKindWindow) Fail(line, "a menu bar or toolbar belongs directly to a window");
      std::vector<Declaration>& slot = kind == windows::kKindMenuBar ? parent.menuBar : parent.toolBar;
      if (!slot.empty()) Fail(line, "a window has only one menu bar and one toolbar");
      slot.push_back(std::move(declaration));
      return slot.back();
    }
    if (inMenus != isMenuPart || (parentKind == windows::kKindMenuBar && kind != windows::kKindMenu)) {
      Fail(line, "menus hold menus and items, a menu bar holds menus, other blocks hold controls");
    }
    parent.children.push_back(std::move(declaration));
    return parent.children.back();
  }

  DefinitionSource m_source;
  bool m_sawDefinition = false;
  std::vector<Declaration*> m_open;
  std::int32_t m_lastField = 0;
};

}  // namespace

DefinitionSource ParseDeclarations(std::string_view text) { return DeclarationParser().Parse(text); }

}  // namespace vel::tools

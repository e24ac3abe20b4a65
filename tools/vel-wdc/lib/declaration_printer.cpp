#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/record_items.h"

namespace vel::tools {
namespace {

using windows::FieldId;

// The field a kind's leading string stands for: a window's label, any other record's text.
FieldId LeadFieldOf(std::uint8_t kind) { return kind == windows::kKindWindow ? FieldId::Label : FieldId::Text; }

bool IsContainer(const Declaration& declaration) {
  const windows::RecordLayout* layout = windows::LayoutForKind(declaration.record.kind);
  for (const windows::FieldSpec& field : layout->fields) {
    if (field.id == FieldId::FirstChild) return true;
  }
  return false;
}

void PrintRecord(const Declaration& declaration, int depth, std::string& out) {
  const windows::Record& record = declaration.record;
  const windows::RecordLayout* layout = windows::LayoutForKind(record.kind);
  std::string line(static_cast<std::size_t>(depth) * 2, ' ');
  line += layout->keyword;
  FieldId lead = LeadFieldOf(record.kind);
  for (const ItemSpec& item : ItemsOf(*layout)) {
    std::optional<std::string> value = FormatItem(record, item);
    if (!value) continue;
    if (item.field.id == lead && item.part == ItemPart::Whole) {
      line += " " + *value;
    }
  }
  for (const ItemSpec& item : ItemsOf(*layout)) {
    if (item.field.id == lead && item.part == ItemPart::Whole) continue;
    std::optional<std::string> value = FormatItem(record, item);
    if (value) line += " " + std::string(item.keyword) + "(" + *value + ")";
  }
  for (const windows::OpaqueBytes& bytes : record.opaque) {
    line += " " + std::string(kRawKeyword) + "(" + FormatRaw(bytes) + ")";
  }
  out += line + "\n";
  for (const Declaration& menuBar : declaration.menuBar) PrintRecord(menuBar, depth + 1, out);
  for (const Declaration& toolBar : declaration.toolBar) PrintRecord(toolBar, depth + 1, out);
  for (const Declaration& child : declaration.children) PrintRecord(child, depth + 1, out);
  if (IsContainer(declaration)) out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + "end\n";
}

}  // namespace

std::string PrintDeclarations(const DefinitionSource& source) {
  std::string out = "definition " + QuoteString(source.qualifiedName) + "\n";
  for (const Declaration& window : source.windows) {
    out += "\n";
    PrintRecord(window, 0, out);
  }
  return out;
}

}  // namespace vel::tools

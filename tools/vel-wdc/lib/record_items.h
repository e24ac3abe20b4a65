#pragma once
// The items of declaration text for each record field: which keyword writes which field, how
// a field's value is printed, and how an item's arguments are read back into the record.

#include <optional>
#include <string>
#include <vector>

#include "runtime/windows/definition_record.h"
#include "runtime/windows/record_layout.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"

namespace vel::tools {

/// Which part of a field an item writes; only the text block has several.
enum class ItemPart { Whole, Message, Tooltip, Help, Number, Keys };

struct ItemSpec {
  const char* keyword;
  windows::FieldSpec field;
  ItemPart part;
};

/// The keyword of the bytes a record keeps uninterpreted: raw(offset, "hex bytes").
inline constexpr const char kRawKeyword[] = "raw";

/// The items of a record kind in print order. Links (next, first child, menu bar, toolbar) and
/// opaque bytes have no item: the nesting of the text and "raw" stand for them.
std::vector<ItemSpec> ItemsOf(const windows::RecordLayout& layout);

/// The item's value as argument text, or empty when the record holds the field's default (the
/// item is then left out).
std::optional<std::string> FormatItem(const windows::Record& record, const ItemSpec& item);

/// Stores the item's arguments into the record; throws DeclarationError on a bad value.
void ParseItem(windows::Record& record, const ItemSpec& item, const Item& written, int line);

/// raw(offset, "hex") for one run of opaque bytes.
std::string FormatRaw(const windows::OpaqueBytes& bytes);
/// Reads raw(offset, "hex") into the record, checking that the offset names an opaque field of
/// the layout and the byte count fits it.
void ParseRaw(windows::Record& record, const windows::RecordLayout& layout, const Item& written, int line);

}  // namespace vel::tools

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vel::values {

/// One field of a compiled record description.
struct RecordField {
  /// The name the field is bound under.
  std::string name;
  /// A second name (for instance with the record's prefix); empty when the field has none.
  std::string secondName;
  /// Storage type code of the field.
  int typeCode = 0;
  /// Byte offset of the field within the record.
  std::uint32_t offset = 0;
  /// Storage size of one element in bytes.
  std::uint32_t size = 0;
  /// Decimal places of a decimal field.
  std::uint32_t places = 0;
  /// Number of elements: 1 (or 0) for a single value.
  std::uint32_t dimensions = 1;
  /// Display picture of the field; empty when it has none.
  std::string picture;
};

/// A compiled record description: its fields in declaration order, the size of the whole record
/// and the dimension of the record itself (0 when it is not an array).
struct RecordDescription {
  std::vector<RecordField> fields;
  std::uint32_t size = 0;
  std::int32_t dimension = 0;
};

/// True when every field of `record` lies inside the record's size (all of its elements).
bool RecordFieldsFit(const RecordDescription& record);

}  // namespace vel::values

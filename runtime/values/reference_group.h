#pragma once

#include <cstdint>

#include "runtime/values/reference_record.h"
#include "runtime/values/reference_string.h"

namespace vel::values {

/// A reference to a whole record, made from its compiled description: in the string family
/// (the record reads and writes as one fixed string of the record's size), it also knows its
/// fields and binds each of them by name. The description must outlive the reference and its
/// clones; compiled descriptions are static data of the program.
class GroupReference final : public StringKindReference<18> {
 public:
  GroupReference(const RecordDescription& record, void* data);

  int TypeCode() const override { return 22; }
  std::unique_ptr<ValueReference> Clone() const override;
  std::int32_t Dimension() const override { return m_record->dimension; }
  /// Binds every field under its name and, when it has one, its second name, each as a
  /// reference to that field (a dimensioned field as a reference to its first element). A field
  /// that does not lie inside the record, or has an unknown type code, is skipped.
  void BindFields() override;

  const RecordDescription& Record() const { return *m_record; }

 private:
  const RecordDescription* m_record;
};

}  // namespace vel::values

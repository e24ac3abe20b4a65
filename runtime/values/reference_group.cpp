#include "runtime/values/reference_group.h"

#include "runtime/values/binding_scopes.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

namespace {

bool FieldFits(const RecordField& field, std::uint32_t recordSize) {
  std::uint64_t elements = field.dimensions == 0 ? 1 : field.dimensions;
  std::uint64_t end = static_cast<std::uint64_t>(field.offset) +
                      static_cast<std::uint64_t>(field.size) * elements;
  return end <= recordSize;
}

void BindUnder(const std::string& name, ValueReference& reference) {
  if (name.empty()) return;
  PushBytes(name.data(), static_cast<std::uint32_t>(name.size()));
  BindName(reference);
}

}  // namespace

bool RecordFieldsFit(const RecordDescription& record) {
  for (const RecordField& field : record.fields) {
    if (!FieldFits(field, record.size)) return false;
  }
  return true;
}

GroupReference::GroupReference(const RecordDescription& record, void* data)
    : StringKindReference<18>(data, record.size, false, nullptr), m_record(&record) {}

std::unique_ptr<ValueReference> GroupReference::Clone() const {
  return std::make_unique<GroupReference>(*m_record, m_data);
}

void GroupReference::BindFields() {
  if (m_data == nullptr) return;
  for (const RecordField& field : m_record->fields) {
    if (!FieldFits(field, m_size) || !IsStorageTypeCode(field.typeCode)) continue;
    std::unique_ptr<ValueReference> reference =
        CreateReference(field.typeCode, Chars() + field.offset, field.size, field.places, false);
    if (reference == nullptr) continue;
    BindUnder(field.name, *reference);
    BindUnder(field.secondName, *reference);
  }
}

}  // namespace vel::values

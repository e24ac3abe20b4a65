#include "runtime/values/reference_factory.h"

#include "runtime/values/reference_decimal.h"
#include "runtime/values/reference_errors.h"
#include "runtime/values/reference_group.h"
#include "runtime/values/reference_integer.h"
#include "runtime/values/reference_real.h"
#include "runtime/values/reference_string.h"

namespace vel::values {

bool IsStorageTypeCode(int typeCode) {
  switch (typeCode) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 10: case 11:
    case 13: case 14: case 15: case 18: case 19: case 20: case 22: case 31:
      return true;
    default:
      return false;
  }
}

std::unique_ptr<ValueReference> CreateReference(int typeCode, void* address, std::uint32_t size,
                                                std::uint32_t places, bool allocate) {
  // With the allocate flag the address is only the source of the initial value.
  void* data = allocate ? nullptr : address;
  const void* source = allocate ? address : nullptr;
  switch (typeCode) {
    case 1: return std::make_unique<UInt8Reference>(data, allocate, source);
    case 2: return std::make_unique<Int16Reference>(data, allocate, source);
    case 3: return std::make_unique<UInt16Reference>(data, allocate, source);
    case 4: return std::make_unique<DateValueReference>(data, allocate, source);
    case 5: return std::make_unique<TimeValueReference>(data, allocate, source);
    case 6: return std::make_unique<Int32Reference>(data, allocate, source);
    case 7: return std::make_unique<UInt32Reference>(data, 4, 0, allocate, source);
    case 8: return std::make_unique<Float32Reference>(data, allocate, source);
    case 9: return std::make_unique<Float64Reference>(data, allocate, source);
    case 10: return std::make_unique<DecimalReference>(data, size, places, allocate, source);
    case 11: return std::make_unique<PackedDecimalReference>(data, size, places, allocate, source);
    case 13: return std::make_unique<MbfFloat32Reference>(data, allocate, source);
    case 14: return std::make_unique<MbfFloat64Reference>(data, allocate, source);
    case 15: return std::make_unique<OpaqueReference>(data, 4, allocate, source);
    case 31: return std::make_unique<OpaqueReference>(data, size, allocate, source);
    case 18:
    case 22: return std::make_unique<FixedStringReference>(data, size, allocate, source);
    case 19: return std::make_unique<ZStringReference>(data, size, allocate, source);
    case 20: return std::make_unique<LStringReference>(data, size, allocate, source);
    default:
      RaiseValueRuntimeError(kErrorUnknownTypeCode, kStringStackErrorText);
      return nullptr;
  }
}

std::unique_ptr<ValueReference> CreateGroupReference(const RecordDescription& record,
                                                     void* address) {
  return std::make_unique<GroupReference>(record, address);
}

void ClearVariable(void* address, int typeCode, std::uint32_t size, int n) {
  std::unique_ptr<ValueReference> reference = CreateReference(typeCode, address, size, 0, false);
  if (reference == nullptr) return;
  reference->Clear(n);
  DeleteReference(std::move(reference));
}

void DeleteReference(std::unique_ptr<ValueReference> reference) {
  if (reference != nullptr) reference->Release();
}

}  // namespace vel::values

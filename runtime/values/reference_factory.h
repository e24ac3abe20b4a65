#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/values/reference_record.h"
#include "runtime/values/value_reference.h"

namespace vel::values {

/// True for the type codes `CreateReference` knows: 1 to 11, 13 to 15, 18 to 20, 22 and 31.
bool IsStorageTypeCode(int typeCode);

/// Creates the reference class of `typeCode` for the variable at `address`. `size` is the
/// declared size of the string, opaque (31) and decimal kinds (the others have fixed sizes);
/// `places` the decimal places of the decimal kinds. With `allocate`, the reference gets fresh
/// zeroed storage of its own, filled from `address` when that is not null, and frees it on
/// release. An unknown type code reports runtime error 501 "String Stack Error" and gives none.
std::unique_ptr<ValueReference> CreateReference(int typeCode, void* address, std::uint32_t size,
                                                std::uint32_t places, bool allocate);

/// Creates a `Group` reference over the record at `address` described by `record`, which must
/// outlive the reference.
std::unique_ptr<ValueReference> CreateGroupReference(const RecordDescription& record,
                                                     void* address);

/// Clears the variable at `address` of kind `typeCode` and declared `size` with n, through a
/// temporary reference (`Clear`). Decimal kinds are cleared with 0 places.
void ClearVariable(void* address, int typeCode, std::uint32_t size, int n);

/// Releases the reference's storage if it owns it, then frees the reference.
void DeleteReference(std::unique_ptr<ValueReference> reference);

}  // namespace vel::values

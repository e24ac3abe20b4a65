#pragma once

#include <cstdint>

namespace vel::values {

/// The storage kind of a procedure variable, identified by the type code that window
/// definitions and typed references carry. Codes not listed here (12, 16, 17, 21, 23-30)
/// are not storage kinds of this runtime.
enum class StorageKind : uint8_t {
  UInt8 = 1,
  Int16 = 2,
  UInt16 = 3,
  DateValue = 4,
  TimeValue = 5,
  Int32 = 6,
  UInt32 = 7,
  Float32 = 8,
  Float64 = 9,
  Decimal = 10,
  PackedDecimal = 11,
  MbfFloat32 = 13,
  MbfFloat64 = 14,
  Opaque4 = 15,
  FixedString = 18,
  ZString = 19,
  LString = 20,
  Group = 22,
  Opaque = 31,
};

/// Returns the width in bytes of a kind whose width does not depend on a declaration:
/// 1 for code 1; 2 for codes 2 and 3; 4 for codes 4-8, 13, 15 and 31-36; 8 for codes 9 and 14;
/// 0 (variable or unknown) for every other code.
uint32_t StorageKindSize(uint32_t typeCode);

/// True for the integer kinds an `Int32` or truncated `Float64` can be stored into.
bool IsIntegerKind(StorageKind kind);

}  // namespace vel::values

#include "runtime/values/storage_kinds.h"

namespace vel::values {

uint32_t StorageKindSize(uint32_t typeCode) {
  switch (typeCode) {
    case 1:
      return 1;
    case 2:
    case 3:
      return 2;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 13:
    case 15:
    case 31:
    case 32:
    case 33:
    case 34:
    case 35:
    case 36:
      return 4;
    case 9:
    case 14:
      return 8;
    default:
      return 0;
  }
}

bool IsIntegerKind(StorageKind kind) {
  switch (kind) {
    case StorageKind::UInt8:
    case StorageKind::Int16:
    case StorageKind::UInt16:
    case StorageKind::Int32:
    case StorageKind::UInt32:
      return true;
    default:
      return false;
  }
}

}  // namespace vel::values

#include "runtime/services/data_import_fixups.h"

#include <cstdint>
#include <cstring>

namespace vel::services {
namespace {

using Slot = std::uintptr_t;

std::uintptr_t Address(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

/// Whether [address, address + length) lies inside [start, end).
bool LiesWithin(std::uintptr_t address, std::size_t length, const std::byte* start, const std::byte* end) {
  if (start == nullptr || end == nullptr) return false;
  if (address < Address(start) || address > Address(end)) return false;
  return length <= Address(end) - address;
}

bool FixupAreaIsDeclared(const ModuleDescriptor& descriptor, const DataImportFixup& fixup) {
  std::uintptr_t address = Address(fixup.address);
  return LiesWithin(address, fixup.byteCount, descriptor.globalDataStart, descriptor.globalDataEnd) ||
         LiesWithin(address, fixup.byteCount, descriptor.secondDataStart, descriptor.secondDataEnd);
}

}  // namespace

FixupOutcome ApplyDataImportFixups(const ModuleDescriptor& descriptor) {
  FixupOutcome outcome;
  if (!DescriptorIsSound(descriptor)) return outcome;
  for (const DataImportFixup* fixup = descriptor.fixupListStart; fixup != descriptor.fixupListEnd; ++fixup) {
    if (fixup->byteCount == 0) continue;
    if (!FixupAreaIsDeclared(descriptor, *fixup)) {
      ++outcome.pairsRejected;
      continue;
    }
    std::size_t slotCount = fixup->byteCount / sizeof(Slot);
    for (std::size_t index = 0; index < slotCount; ++index) {
      std::byte* slotAddress = fixup->address + index * sizeof(Slot);
      Slot value;
      std::memcpy(&value, slotAddress, sizeof value);
      if (!LiesWithin(value, sizeof(Slot), descriptor.importAreaStart, descriptor.importAreaEnd)) continue;
      Slot imported;
      std::memcpy(&imported, reinterpret_cast<const void*>(value), sizeof imported);
      std::memcpy(slotAddress, &imported, sizeof imported);
      ++outcome.slotsReplaced;
    }
  }
  return outcome;
}

}  // namespace vel::services

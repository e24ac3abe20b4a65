#include "runtime/services/module_descriptor.h"

namespace vel::services {
namespace {

std::uintptr_t Address(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

bool RangeIsOrdered(const void* start, const void* end) {
  if ((start == nullptr) != (end == nullptr)) return false;
  return Address(start) <= Address(end);
}

template <typename Entry>
bool TableIsSound(const Entry* start, const Entry* end) {
  if (!RangeIsOrdered(start, end)) return false;
  if (Address(start) % alignof(Entry) != 0) return false;
  return (Address(end) - Address(start)) % sizeof(Entry) == 0;
}

}  // namespace

bool DescriptorIsSound(const ModuleDescriptor& descriptor) {
  return TableIsSound(descriptor.initialiserTableStart, descriptor.initialiserTableEnd) &&
         RangeIsOrdered(descriptor.secondDataStart, descriptor.secondDataEnd) &&
         RangeIsOrdered(descriptor.globalDataStart, descriptor.globalDataEnd) &&
         TableIsSound(descriptor.fixupListStart, descriptor.fixupListEnd) &&
         RangeIsOrdered(descriptor.importAreaStart, descriptor.importAreaEnd);
}

std::size_t AreaLength(const std::byte* start, const std::byte* end) {
  if (start == nullptr || end == nullptr || Address(end) < Address(start)) return 0;
  return Address(end) - Address(start);
}

}  // namespace vel::services

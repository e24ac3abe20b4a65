#include "runtime/values/string_slot_builders.h"

#include <limits>

#include "runtime/values/byte_ops.h"

namespace vel::values::detail {

StringSlot ReferenceSlot(const char* data, std::uint32_t length) {
  StringSlot slot;
  slot.kind = kReferenceString;
  slot.data = data;
  slot.length = data == nullptr ? 0 : length;
  return slot;
}

StringSlot OwnedSlot(char* block, std::uint32_t length) {
  StringSlot slot;
  slot.kind = kOwnedString;
  slot.data = block;
  slot.length = block == nullptr ? 0 : length;
  return slot;
}

StringSlot DetachedSlot(const char* data, std::uint32_t length) {
  if (data == nullptr || length == 0) return StringSlot{};
  if (length <= StringSlot::kInlineCapacity) {
    StringSlot slot;
    slot.kind = kInlineString;
    slot.length = length;
    CopyBytes(slot.inlineBuffer, data, length);
    return slot;
  }
  char* block = AllocateStringBlock(length);
  if (block == nullptr) return StringSlot{};
  CopyBytes(block, data, length);
  return OwnedSlot(block, length);
}

void ClipSlot(StringSlot& slot) {
  const char* bytes = slot.Bytes();
  while (slot.length > 0 && bytes[slot.length - 1] == ' ') --slot.length;
}

std::int32_t AssignLength(std::uint32_t length) {
  constexpr std::uint32_t kLargest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(length > kLargest ? kLargest : length);
}

}  // namespace vel::values::detail

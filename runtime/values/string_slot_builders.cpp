#include "runtime/values/string_slot_builders.h"

#include <cstring>
#include <limits>

#include "runtime/values/byte_ops.h"

namespace vel::values::detail {

void SetOwned(StringSlot& slot, char* block, std::uint32_t length) {
  slot.kind = kOwnedString;
  slot.data = block;
  slot.length = block == nullptr ? 0 : length;
  slot.capacity = slot.length;
}

bool SetDetached(StringSlot& slot, const char* data, std::uint32_t length) {
  if (data == nullptr || length == 0) {
    SetReference(slot, nullptr, 0);
    return true;
  }
  if (length <= StringSlot::kInlineCapacity) {
    slot.kind = kInlineString;
    slot.data = nullptr;
    slot.length = length;
    CopyBytes(slot.inlineBuffer, data, length);
    return true;
  }
  char* block = AllocateStringBlock(length);
  if (block == nullptr) {
    SetReference(slot, nullptr, 0);
    return false;
  }
  CopyBytes(block, data, length);
  SetOwned(slot, block, length);
  return true;
}

void ClipSlot(StringSlot& slot) {
  const char* bytes = slot.Bytes();
  std::uint32_t length = slot.length;
  // Fixed strings end in long runs of blanks: eight at a time, then one by one.
  constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
  while (length >= 8) {
    std::uint64_t tail;
    std::memcpy(&tail, bytes + length - 8, sizeof tail);
    if (tail != kBlanks) break;
    length -= 8;
  }
  while (length > 0 && bytes[length - 1] == ' ') --length;
  slot.length = length;
}

std::int32_t AssignLength(std::uint32_t length) {
  constexpr std::uint32_t kLargest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(length > kLargest ? kLargest : length);
}

}  // namespace vel::values::detail

#pragma once

#include <cstdint>

#include "runtime/values/string_stack.h"

// Fillers of string stack slots shared by the operations of the string stack.
namespace vel::values::detail {

/// Makes `slot` read `length` bytes at `data` in place.
inline void SetReference(StringSlot& slot, const char* data, std::uint32_t length) {
  slot.kind = kReferenceString;
  slot.data = data;
  slot.length = data == nullptr ? 0 : length;
}

/// Makes `slot` own the heap block `block`.
void SetOwned(StringSlot& slot, char* block, std::uint32_t length);

/// Gives `slot` its own copy of `length` bytes at `data`: inline when they fit, otherwise in a
/// new heap block. Returns false, leaving the empty value, when that block cannot be allocated.
bool SetDetached(StringSlot& slot, const char* data, std::uint32_t length);

/// Removes trailing blanks (byte 32 only) from the value of `slot` by shortening it.
void ClipSlot(StringSlot& slot);

/// A source length for the assignment primitives, which take signed lengths.
std::int32_t AssignLength(std::uint32_t length);

}  // namespace vel::values::detail

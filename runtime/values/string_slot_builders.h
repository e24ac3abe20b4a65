#pragma once

#include <cstdint>

#include "runtime/values/string_stack.h"

// Builders of string stack slots shared by the operations of the string stack.
namespace vel::values::detail {

/// A slot that reads `length` bytes at `data` in place.
StringSlot ReferenceSlot(const char* data, std::uint32_t length);

/// A slot that owns the heap block `block`.
StringSlot OwnedSlot(char* block, std::uint32_t length);

/// A slot holding its own copy of `length` bytes at `data`: inline when they fit, otherwise in
/// a new heap block; the empty value when that block cannot be allocated.
StringSlot DetachedSlot(const char* data, std::uint32_t length);

/// Removes trailing blanks (byte 32 only) from the value of `slot` by shortening it.
void ClipSlot(StringSlot& slot);

/// A source length for the assignment primitives, which take signed lengths.
std::int32_t AssignLength(std::uint32_t length);

}  // namespace vel::values::detail

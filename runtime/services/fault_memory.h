#pragma once
// Memory access for the fault reporter: whatever a faulting program's registers point at may be
// unmapped or protected, so nothing is dereferenced directly; the platform copies it and says
// when it cannot.

#include <cstddef>
#include <cstdint>

namespace vel::services {

/// Copies `size` bytes from `address`; false (and `out` unspecified) when any byte is unreadable.
bool ReadFaultMemory(std::uintptr_t address, void* out, std::size_t size);

/// Whether `size` bytes at `address` can be read and written: they are read and written back
/// unchanged.
bool IsFaultMemoryWritable(std::uintptr_t address, std::size_t size);

/// Copies a zero-terminated text of at most `capacity - 1` characters into `out` and terminates
/// it; stops early at the first unreadable byte. Returns the length copied.
std::size_t ReadFaultText(const char* text, char* out, std::size_t capacity);

}  // namespace vel::services

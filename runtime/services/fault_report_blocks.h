#pragma once
// The fault report's first six blocks: what happened and where, the program, the registers, the
// code bytes at the faulting instruction and the two stack dumps. The x86-64 registers take the
// slots the report names after their 32-bit halves (EAX shows RAX) and are written at their
// full width; memory is dumped in the report's byte and doubleword units.

#include <cstdint>

#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {

/// "Exception: <name> at <address>".
void WriteExceptionBlock(HFILE file, const char* name, std::uint64_t address);

/// "Process  : <path> ".
void WriteProcessBlock(HFILE file, const char* programPath);

/// "Registers:" and its four lines.
void WriteRegistersBlock(HFILE file, const CONTEXT& context);

/// "Bytes at EIP:" and 32 bytes from `address`, 16 to a line; an unreadable byte ends the block
/// with a line end.
void WriteCodeBytesBlock(HFILE file, std::uint64_t address);

/// `heading` and 32 doublewords from `address`, 4 to a line; an unreadable doubleword ends the
/// block with a line end.
void WriteStackDumpBlock(HFILE file, const char* heading, std::uint64_t address);

}  // namespace vel::services

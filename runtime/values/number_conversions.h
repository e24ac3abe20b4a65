#pragma once

// Conversions between the native number kinds and text that do not go through the decimal
// stack: truncation of a `Float64` to the integer kinds, text read as a `Float64`, and the
// narrowing store of an integer into a 1- or 2-byte variable.

#include <cstddef>
#include <cstdint>

#include "runtime/values/storage_kinds.h"

namespace vel::values {

/// Reads text as a `Float64` the way `PopToReal` reads the top of the string stack: trailing
/// blanks are removed, at most the first 39 bytes (up to a zero byte) are converted by
/// `ParseReal`, and text without a number gives 0.
double ReadFloat64Text(const char* text, size_t length);

/// Truncates a `Float64` toward zero. Values beyond the 64-bit range saturate and a NaN gives 0,
/// so that storing the result into a narrower kind keeps only its low bits, never undefined
/// behaviour.
int64_t TruncateFloat64(double value);

/// Reads text as an integer: the text is read as a `Float64` (ReadFloat64Text) and truncated
/// toward zero, except that a value within a relative distance of 2 to the power -50 of the next
/// integer away from zero becomes that integer (so 2.9999999999999996 gives 3).
int64_t TextToInteger(const char* text, size_t length);

/// Stores the low bits of `value` that fit an integer kind (`UInt8`, `Int16`, `UInt16`, `Int32`,
/// `UInt32`), little-endian, with no range check. Returns false (and writes nothing) for any
/// other kind or a null address.
bool StoreIntegerBits(void* address, StorageKind kind, int64_t value);

/// Reads an integer variable of one of the kinds above, widened with its own signedness.
/// Returns 0 for any other kind or a null address.
int64_t LoadInteger(const void* address, StorageKind kind);

}  // namespace vel::values

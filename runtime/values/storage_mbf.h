#pragma once

#include <cstdint>

namespace vel::values {

// Binary floats with the exponent in the last byte (`MbfFloat32`, `MbfFloat64`): the last byte
// is the exponent e, the top bit of the byte before it is the sign, and the remaining bits are
// the fraction below an implied leading 1; the value is 1.f times 2 to the power (e - 129).
// A stored value whose two highest bytes are both 0 reads as 0.

/// Reads a 4-byte `MbfFloat32` at `bytes` as a `Float64` (exact: the 23 fraction bits fit).
double ReadMbfFloat32(const void* bytes);

/// Reads an 8-byte `MbfFloat64` at `bytes` as a `Float64`; the 3 lowest fraction bits are dropped.
double ReadMbfFloat64(const void* bytes);

/// Writes `value` as a 4-byte `MbfFloat32`: the fraction is truncated to 23 bits. Zero, and
/// any magnitude below 2 to the power -128 (subnormals included), is written as four 0 bytes;
/// an exponent that would exceed 255 is written as 255. Infinities and NaNs are written with
/// exponent 255 like any other too-large value.
void WriteMbfFloat32(void* bytes, double value);

/// Writes `value` as an 8-byte `MbfFloat64` under the same rules as `WriteMbfFloat32`; the
/// 52 fraction bits carry over and the 3 lowest stored bits are 0.
void WriteMbfFloat64(void* bytes, double value);

}  // namespace vel::values

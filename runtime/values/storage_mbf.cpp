#include "runtime/values/storage_mbf.h"

#include <bit>
#include <cstring>

namespace vel::values {
namespace {

// The exponent field of an IEEE double is the stored exponent plus this bias difference:
// IEEE's bias is 1023 and the stored format's is 129.
constexpr uint64_t kExponentShift = 894;
constexpr uint64_t kIeeeFractionMask = (uint64_t{1} << 52) - 1;

uint64_t LoadLittleEndian(const void* bytes, int count) {
  const auto* in = static_cast<const uint8_t*>(bytes);
  uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) {
    value = (value << 8) | in[i];
  }
  return value;
}

void StoreLittleEndian(void* bytes, int count, uint64_t value) {
  auto* out = static_cast<uint8_t*>(bytes);
  for (int i = 0; i < count; ++i) {
    out[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

/// Reads a stored float of `count` bytes with `fractionBits` fraction bits below the sign.
double ReadStored(const void* bytes, int count, int fractionBits) {
  uint64_t raw = LoadLittleEndian(bytes, count);
  const int totalBits = 8 * count;
  if ((raw >> (totalBits - 16)) == 0) {
    return 0.0;
  }
  const uint64_t exponent = raw >> (totalBits - 8);
  const uint64_t sign = (raw >> (totalBits - 9)) & 1;
  const uint64_t fraction = raw & ((uint64_t{1} << fractionBits) - 1);
  // Align the stored fraction with IEEE's 52 bits: shift up a short one, drop the extra
  // low bits of a long one.
  const uint64_t ieeeFraction =
      fractionBits <= 52 ? fraction << (52 - fractionBits) : fraction >> (fractionBits - 52);
  const uint64_t ieee = (sign << 63) | ((exponent + kExponentShift) << 52) | ieeeFraction;
  return std::bit_cast<double>(ieee);
}

void WriteStored(void* bytes, int count, int fractionBits, double value) {
  const uint64_t ieee = std::bit_cast<uint64_t>(value);
  const uint64_t ieeeExponent = (ieee >> 52) & 0x7FF;
  // Zero, subnormals and anything below 2^-128 (stored exponent below 1) have no stored form.
  if (ieeeExponent <= kExponentShift) {
    std::memset(bytes, 0, static_cast<size_t>(count));
    return;
  }
  uint64_t exponent = ieeeExponent - kExponentShift;
  if (exponent > 255) {
    exponent = 255;
  }
  const uint64_t sign = ieee >> 63;
  const uint64_t ieeeFraction = ieee & kIeeeFractionMask;
  const uint64_t fraction =
      fractionBits <= 52 ? ieeeFraction >> (52 - fractionBits) : ieeeFraction << (fractionBits - 52);
  const int totalBits = 8 * count;
  const uint64_t raw = (exponent << (totalBits - 8)) | (sign << (totalBits - 9)) | fraction;
  StoreLittleEndian(bytes, count, raw);
}

}  // namespace

double ReadMbfFloat32(const void* bytes) { return ReadStored(bytes, 4, 23); }

double ReadMbfFloat64(const void* bytes) { return ReadStored(bytes, 8, 55); }

void WriteMbfFloat32(void* bytes, double value) { WriteStored(bytes, 4, 23, value); }

void WriteMbfFloat64(void* bytes, double value) { WriteStored(bytes, 8, 55, value); }

}  // namespace vel::values

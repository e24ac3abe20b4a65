#include "runtime/values/number_conversions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/values/number_text.h"

namespace vel::values {
namespace {

constexpr double kNearIntegerDistance = 0x1p-50;

}  // namespace

double ReadFloat64Text(const char* text, size_t length) {
  if (text == nullptr) {
    return 0.0;
  }
  while (length > 0 && text[length - 1] == ' ') {
    --length;
  }
  length = std::min(length, kMaxRealInput);
  // A zero byte ends the text as it would end a C string.
  length = static_cast<size_t>(std::find(text, text + length, '\0') - text);
  return ParseReal(text, length);
}

int64_t TruncateFloat64(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  // 2^63 is the first double beyond the range; everything below converts exactly once truncated.
  if (value >= 0x1p63) {
    return std::numeric_limits<int64_t>::max();
  }
  if (value < -0x1p63) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(value);
}

int64_t TextToInteger(const char* text, size_t length) {
  const double value = ReadFloat64Text(text, length);
  const double truncated = std::trunc(value);
  const double next = truncated + (value < 0 ? -1.0 : 1.0);
  if (std::isfinite(value) && value != truncated && std::fabs(next - value) <= std::fabs(value) * kNearIntegerDistance) {
    return TruncateFloat64(next);
  }
  return TruncateFloat64(value);
}

bool StoreIntegerBits(void* address, StorageKind kind, int64_t value) {
  if (address == nullptr || !IsIntegerKind(kind)) {
    return false;
  }
  const auto bits = static_cast<uint64_t>(value);
  const size_t width = StorageKindSize(static_cast<uint32_t>(kind));
  auto* out = static_cast<uint8_t*>(address);
  for (size_t i = 0; i < width; ++i) {
    out[i] = static_cast<uint8_t>(bits >> (8 * i));
  }
  return true;
}

int64_t LoadInteger(const void* address, StorageKind kind) {
  if (address == nullptr || !IsIntegerKind(kind)) {
    return 0;
  }
  const auto* in = static_cast<const uint8_t*>(address);
  const size_t width = StorageKindSize(static_cast<uint32_t>(kind));
  uint64_t bits = 0;
  for (size_t i = width; i-- > 0;) {
    bits = (bits << 8) | in[i];
  }
  const bool isSigned = kind == StorageKind::Int16 || kind == StorageKind::Int32;
  if (isSigned && width < 8 && (bits >> (8 * width - 1)) != 0) {
    bits |= ~uint64_t{0} << (8 * width);  // sign-extend
  }
  return static_cast<int64_t>(bits);
}

}  // namespace vel::values

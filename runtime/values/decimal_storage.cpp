#include "runtime/values/decimal_storage.h"

#include <cstring>

#include "runtime/values/decimal_arithmetic.h"

namespace vel::values {
namespace {

enum class SignPlace { First, Last };

constexpr uint8_t kDecimalNegative = 15;
constexpr uint8_t kPackedPositive = 15;
constexpr uint8_t kPackedNegative = 13;

/// Nibble n of a run of 2 * size nibbles, high nibble of each byte first.
uint8_t NibbleAt(const uint8_t* bytes, uint64_t n) {
  const uint8_t byte = bytes[n / 2];
  return (n % 2 == 0) ? static_cast<uint8_t>(byte >> 4) : static_cast<uint8_t>(byte & 0x0F);
}

void SetNibble(uint8_t* bytes, uint64_t n, uint8_t value) {
  uint8_t& byte = bytes[n / 2];
  byte = (n % 2 == 0) ? static_cast<uint8_t>((byte & 0x0F) | (value << 4)) : static_cast<uint8_t>((byte & 0xF0) | value);
}

/// Position (weight 10^(position - 32)) of the digit `fromLowest` places above the last one.
int64_t PositionOf(uint64_t fromLowest, uint32_t places) {
  return int64_t{DecimalEntry::kUnits} - int64_t{places} + static_cast<int64_t>(fromLowest);
}

DecimalEntry Read(const void* address, uint32_t size, uint32_t places, SignPlace signPlace) {
  DecimalEntry entry = DecimalZero();
  if (address == nullptr || size == 0) {
    return entry;
  }
  const auto* bytes = static_cast<const uint8_t*>(address);
  const uint64_t digitCount = 2 * uint64_t{size} - 1;
  const uint64_t firstDigitNibble = signPlace == SignPlace::First ? 1 : 0;
  for (uint64_t k = 0; k < digitCount; ++k) {
    const int64_t position = PositionOf(k, places);
    if (position < 0 || position >= DecimalEntry::kPositions) {
      continue;
    }
    const uint8_t nibble = NibbleAt(bytes, firstDigitNibble + digitCount - 1 - k);
    entry.digits[position] = nibble <= 9 ? nibble : 0;
  }
  const uint8_t signNibble = signPlace == SignPlace::First ? NibbleAt(bytes, 0) : NibbleAt(bytes, 2 * uint64_t{size} - 1);
  entry.sign = signPlace == SignPlace::First ? (signNibble != 0) : (signNibble == kPackedNegative);
  NormaliseDecimal(entry);
  return entry;
}

void Write(void* address, uint32_t size, uint32_t places, DecimalEntry value, SignPlace signPlace) {
  if (address == nullptr || size == 0) {
    return;
  }
  auto* bytes = static_cast<uint8_t*>(address);
  RoundDecimal(value, places > DecimalEntry::kUnits ? DecimalEntry::kUnits : static_cast<int>(places));
  const uint64_t digitCount = 2 * uint64_t{size} - 1;
  const uint64_t firstDigitNibble = signPlace == SignPlace::First ? 1 : 0;
  bool anyDigit = false;
  for (uint64_t k = 0; k < digitCount; ++k) {
    const int64_t position = PositionOf(k, places);
    uint8_t digit = 0;
    if (position >= 0 && position < DecimalEntry::kPositions) {
      digit = value.digits[position];
    }
    anyDigit = anyDigit || digit != 0;
    SetNibble(bytes, firstDigitNibble + digitCount - 1 - k, digit);
  }
  const bool negative = value.sign != 0 && anyDigit;
  if (signPlace == SignPlace::First) {
    SetNibble(bytes, 0, negative ? kDecimalNegative : 0);
  } else {
    SetNibble(bytes, 2 * uint64_t{size} - 1, negative ? kPackedNegative : kPackedPositive);
  }
}

}  // namespace

DecimalEntry ReadDecimalStorage(const void* address, uint32_t size, uint32_t places) {
  return Read(address, size, places, SignPlace::First);
}

DecimalEntry ReadPackedStorage(const void* address, uint32_t size, uint32_t places) {
  return Read(address, size, places, SignPlace::Last);
}

void WriteDecimalStorage(void* address, uint32_t size, uint32_t places, const DecimalEntry& value) {
  Write(address, size, places, value, SignPlace::First);
}

void WritePackedStorage(void* address, uint32_t size, uint32_t places, const DecimalEntry& value) {
  Write(address, size, places, value, SignPlace::Last);
}

}  // namespace vel::values

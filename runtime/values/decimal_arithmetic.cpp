#include "runtime/values/decimal_arithmetic.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {
namespace {

/// acc = acc + other over the magnitudes; returns nothing because a carry out of position 63
/// is lost by definition.
void AddMagnitudes(DecimalEntry& acc, const DecimalEntry& other) {
  const int firstWord = std::min(acc.low, other.low) / 8;
  // One extra position of headroom above the highest digit takes the last carry.
  const int lastWord = std::max(acc.high, other.high) / 8;
  uint64_t carry = 0;
  for (int word = firstWord; word < 8; ++word) {
    if (word > lastWord && carry == 0) {
      break;
    }
    uint8_t* target = acc.digits + 8 * word;
    lanes::Store(target, lanes::AddDigits(lanes::Load(target), lanes::Load(other.digits + 8 * word), carry));
  }
}

/// acc = acc - other over the magnitudes; returns true when the result borrowed out of the
/// top, that is when it is negative and held as its ten's complement.
bool SubtractMagnitudes(DecimalEntry& acc, const DecimalEntry& other) {
  const int firstWord = std::min(acc.low, other.low) / 8;
  const int lastWord = std::max(acc.high, other.high) / 8;
  uint64_t borrow = 0;
  for (int word = firstWord; word < 8; ++word) {
    if (word > lastWord && borrow == 0) {
      break;
    }
    uint8_t* target = acc.digits + 8 * word;
    lanes::Store(target,
                 lanes::SubtractDigits(lanes::Load(target), lanes::Load(other.digits + 8 * word), borrow));
  }
  return borrow != 0;
}

/// Replaces the digits by their ten's complement (0 - digits), turning a borrowed-out
/// difference back into its magnitude.
void TensComplement(DecimalEntry& entry, int firstWord) {
  uint64_t borrow = 0;
  for (int word = firstWord; word < 8; ++word) {
    uint8_t* target = entry.digits + 8 * word;
    lanes::Store(target, lanes::SubtractDigits(0, lanes::Load(target), borrow));
  }
}

/// Adds (signs agree) or subtracts (signs differ) the magnitude of `top` into `second`.
void Combine(DecimalEntry& second, const DecimalEntry& top, uint8_t topSign) {
  if (second.sign == topSign) {
    AddMagnitudes(second, top);
  } else {
    const int firstWord = std::min(second.low, top.low) / 8;
    if (SubtractMagnitudes(second, top)) {
      TensComplement(second, firstWord);
      second.sign ^= 1;
    }
  }
  NormaliseDecimal(second);
}

DecimalEntry One() { return DecimalFromUInt64(1, false); }

}  // namespace

void AddDecimals(DecimalEntry& second, const DecimalEntry& top) { Combine(second, top, top.sign); }

void SubtractDecimals(DecimalEntry& second, const DecimalEntry& top) {
  // A zero top has sign 0; flipping it is harmless because adding or subtracting zero
  // leaves the magnitude unchanged.
  Combine(second, top, top.sign ^ 1);
}

void RoundDecimal(DecimalEntry& entry, int places) {
  places = std::clamp(places, 0, DecimalEntry::kUnits);
  const int cut = DecimalEntry::kUnits - places;  // lowest position kept
  if (cut == 0 || entry.low >= cut) {
    return;
  }
  const bool roundUp = entry.digits[cut - 1] >= 5;
  std::memset(entry.digits, 0, static_cast<size_t>(cut));
  if (roundUp) {
    for (int position = cut; position < DecimalEntry::kPositions; ++position) {
      if (++entry.digits[position] < 10) {
        break;
      }
      entry.digits[position] = 0;  // the carry runs on; beyond position 63 it is lost
    }
  }
  NormaliseDecimal(entry);
}

DecimalEntry PowerDecimal(const DecimalEntry& base, int32_t exponent) {
  // The magnitude of the most negative exponent does not fit an int32.
  uint32_t remaining = exponent < 0 ? 0u - static_cast<uint32_t>(exponent) : static_cast<uint32_t>(exponent);
  DecimalEntry result = One();
  DecimalEntry square = base;
  while (remaining != 0) {
    if (remaining & 1u) {
      result = MultiplyDecimals(result, square);
    }
    remaining >>= 1;
    if (remaining != 0) {
      square = MultiplyDecimals(square, square);
    }
  }
  if (exponent < 0) {
    result = DivideDecimals(One(), result);
  }
  return result;
}

}  // namespace vel::values

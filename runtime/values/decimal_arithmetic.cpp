#include "runtime/values/decimal_arithmetic.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {
namespace {

/// Applies a lane operation (decimal add with carry or subtract with borrow) to the magnitudes,
/// acc = acc op other, from the lowest word in use upward; returns the carry or borrow out of
/// position 63. Words above both operands' highest digits are only visited while a carry or
/// borrow runs on, which gives the one extra position of headroom the top digit may need.
template <uint64_t (*kLaneOperation)(uint64_t, uint64_t, uint64_t&)>
bool CombineMagnitudes(DecimalEntry& acc, const DecimalEntry& other) {
  const int firstWord = std::min(acc.low, other.low) / 8;
  const int lastWord = std::max(acc.high, other.high) / 8;
  uint64_t carry = 0;
  for (int word = firstWord; word < 8; ++word) {
    if (word > lastWord && carry == 0) {
      break;
    }
    uint8_t* target = acc.digits + 8 * word;
    lanes::Store(target, kLaneOperation(lanes::Load(target), lanes::Load(other.digits + 8 * word), carry));
  }
  return carry != 0;
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
    CombineMagnitudes<lanes::AddDigits>(second, top);  // a carry beyond position 63 is lost
  } else {
    const int firstWord = std::min(second.low, top.low) / 8;
    // A borrow out of the top means the difference is negative, held as its ten's complement.
    if (CombineMagnitudes<lanes::SubtractDigits>(second, top)) {
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

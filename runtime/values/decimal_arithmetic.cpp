#include "runtime/values/decimal_arithmetic.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {
namespace {

// From this many words on, the unrolled chain over the whole entry costs less than the loop.
constexpr int kWordsForWholeEntry = 5;

/// Replaces words `firstWord` to `lastWord` by their ten's complement (0 - digits), turning a
/// difference that borrowed out of them back into its magnitude.
void TensComplement(DecimalEntry& entry, int firstWord, int lastWord) {
  uint64_t borrow = 0;
  for (int word = firstWord; word <= lastWord; ++word) {
    uint8_t* target = entry.digits + 8 * word;
    lanes::Store(target, lanes::SubtractDigits(0, lanes::Load(target), borrow));
  }
}

/// Adds (signs agree) or subtracts (signs differ) the magnitude of `top` into `second`.
///
/// Both run as one decimal addition over the words either operand uses: a subtraction adds the
/// nines' complement of `top` and a carry into the lowest digit, which is adding 10^n - top for
/// the n digits of those words. The addend is chosen by a mask rather than a branch because
/// mixed signs are as common as equal ones and would defeat branch prediction.
void Combine(DecimalEntry& second, const DecimalEntry& top, uint8_t topSign) {
  int firstWord = std::min(second.low, top.low) / 8;
  int lastWord = std::max(second.high, top.high) / 8;
  const uint64_t differ = second.sign != topSign ? 1 : 0;
  // The biased addend is top + 246 per byte for a sum and ~top for a difference.
  const uint64_t complementMask = 0 - differ;
  const uint64_t bias = lanes::kBias & ~complementMask;
  uint64_t carry = differ;
  if (lastWord - firstWord >= kWordsForWholeEntry - 1) {
    // Long operands take all eight words in one unrolled chain; words beyond them are 0 in
    // both operands, which add like any other word.
    firstWord = 0;
    lastWord = DecimalEntry::kPositions / 8 - 1;
    carry = lanes::AddBiasedEightWords(second.digits, top.digits, complementMask, bias, carry);
  } else {
    for (int word = firstWord; word <= lastWord; ++word) {
      uint8_t* target = second.digits + 8 * word;
      lanes::Store(target, lanes::AddBiased(lanes::Load(target), (lanes::Load(top.digits + 8 * word) ^ complementMask) + bias, carry));
    }
  }
  // A sum carries out when it needs the headroom position above the words used, and a
  // difference carries out exactly when it is not negative; both cases are rare.
  if (carry != differ) {
    if (differ == 0) {
      if (lastWord + 1 < DecimalEntry::kPositions / 8) {
        second.digits[8 * (lastWord + 1)] = 1;  // beyond position 63 the carry is lost
      }
    } else {
      // The difference is negative, held as 10^n less its magnitude.
      TensComplement(second, firstWord, lastWord);
      second.sign ^= 1;
    }
    NormaliseDecimal(second);
    return;
  }
  // Words outside the range were 0 in both operands and still are. The ends of a result are
  // rarely far inside the range, so short scans find them sooner than testing every word.
  int bottomWord = firstWord;
  while (lanes::Load(second.digits + 8 * bottomWord) == 0) {
    if (bottomWord == lastWord) {
      SetDecimalRangeZero(second);
      return;
    }
    ++bottomWord;
  }
  int topWord = lastWord;
  while (lanes::Load(second.digits + 8 * topWord) == 0) {
    --topWord;
  }
  SetDecimalRange(second, bottomWord, topWord);
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

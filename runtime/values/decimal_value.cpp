#include "runtime/values/decimal_value.h"

#include <algorithm>
#include <array>

#include "runtime/values/decimal_digit_lanes.h"
#include "runtime/values/decimal_limbs.h"

namespace vel::values {
namespace {

constexpr int kDigitsPerLimb = 16;
constexpr int kLimbs = DecimalValue::kLimbs;
constexpr int kTop = kLimbs - 1;
constexpr uint64_t kLimbBase = DecimalValue::kLimbBase;

constexpr auto kPowersOfTen = [] {
  std::array<uint64_t, kDigitsPerLimb + 1> powers{};
  powers[0] = 1;
  for (int exponent = 1; exponent <= kDigitsPerLimb; ++exponent) {
    powers[exponent] = powers[exponent - 1] * 10;
  }
  return powers;
}();

/// Limbs that read as -10^64 stand for a magnitude of exactly 10^64, whose carry beyond
/// position 63 is lost: they become 0.
void DropCarriedOutLimit(uint64_t (&limbs)[kLimbs]) {
  if (limbs[kTop] == kLimbBase && (limbs[0] | limbs[1] | limbs[2]) == 0) {
    limbs[kTop] = 0;
  }
}

/// Division by 10^k through a multiplication: with s the largest power of two not above 10^k
/// and M = ceil(2^(64 + s) / 10^k), which fits a word, x * M / 2^(64 + s) rounded down is exact
/// for every x below 2^63; limbs are below 2^55. A hardware division by a power chosen at run
/// time takes several times as long, and rounding divides on every multiplication.
struct TenPowerDivisor {
  uint64_t multiplier;
  int shift;
};

constexpr TenPowerDivisor MakeTenPowerDivisor(int exponent) {
  const uint64_t divisor = kPowersOfTen[exponent];
  int shift = 0;
  while ((divisor >> (shift + 1)) != 0) {
    ++shift;
  }
  const unsigned __int128 scaled = static_cast<unsigned __int128>(1) << (64 + shift);
  return TenPowerDivisor{static_cast<uint64_t>((scaled + divisor - 1) / divisor), shift};
}

constexpr auto kTenPowerDivisors = [] {
  std::array<TenPowerDivisor, kDigitsPerLimb + 1> divisors{};
  for (int exponent = 1; exponent <= kDigitsPerLimb; ++exponent) {
    divisors[exponent] = MakeTenPowerDivisor(exponent);
  }
  return divisors;
}();

/// x / 10^exponent for x below 2^63 and exponent 0 to 16.
inline uint64_t DivideByTenPower(uint64_t x, int exponent) {
  if (exponent == 0) {
    return x;
  }
  const TenPowerDivisor& by = kTenPowerDivisors[exponent];
  return static_cast<uint64_t>((static_cast<unsigned __int128>(x) * by.multiplier) >> 64) >> by.shift;
}

/// Rounds limbs half up (away from zero) to `places` places. For a negative number the limbs
/// are 2 * 10^64 less its magnitude, so the part below the cut read from them, R, stands for a
/// magnitude part of 10^cut - R (when R is not 0): clearing R rounds the magnitude up, and
/// clearing it and adding 10^cut rounds the magnitude down.
void RoundLimbs(uint64_t (&limbs)[kLimbs], int places, bool negative) {
  places = std::clamp(places, 0, DecimalEntry::kUnits);
  const int cut = DecimalEntry::kUnits - places;  // lowest position kept
  if (cut == 0) {
    return;
  }
  const int cutLimb = cut / kDigitsPerLimb;  // at most 2
  const int offset = cut % kDigitsPerLimb;
  const uint64_t partial = limbs[cutLimb] - DivideByTenPower(limbs[cutLimb], offset) * kPowersOfTen[offset];
  uint64_t lower = 0;  // nonzero when any limb below the cut limb is
  for (int k = 0; k < cutLimb; ++k) {
    lower |= limbs[k];
  }
  if ((partial | lower) == 0) {
    return;  // nothing below the cut
  }
  // The digit just below the cut, and whether any digit below that one is nonzero.
  uint64_t digit;
  bool restNonZero;
  if (offset > 0) {
    digit = DivideByTenPower(partial, offset - 1);
    restNonZero = partial != digit * kPowersOfTen[offset - 1] || lower != 0;
  } else {
    const uint64_t below = limbs[cutLimb - 1];
    digit = DivideByTenPower(below, kDigitsPerLimb - 1);
    uint64_t rest = below - digit * kPowersOfTen[kDigitsPerLimb - 1];
    for (int k = 0; k < cutLimb - 1; ++k) {
      rest |= limbs[k];
    }
    restNonZero = rest != 0;
  }
  // Halves go away from zero: for a negative number the magnitude's part below the cut is
  // 10^cut - R, at least half exactly when R is at most half.
  const bool addUnit = negative ? (digit > 5 || (digit == 5 && restNonZero)) : digit >= 5;
  for (int k = 0; k < cutLimb; ++k) {
    limbs[k] = 0;
  }
  limbs[cutLimb] -= partial;
  if (addUnit) {
    uint64_t carry = kPowersOfTen[offset];
    for (int k = cutLimb; k < kLimbs && carry != 0; ++k) {
      const uint64_t base = k == kTop ? DecimalValue::kTopBase : kLimbBase;
      const uint64_t total = limbs[k] + carry;
      carry = total >= base ? 1 : 0;
      limbs[k] = total - carry * base;
    }
  }
  if (!negative && limbs[kTop] >= kLimbBase) {
    limbs[kTop] -= kLimbBase;  // a positive magnitude's carry beyond position 63 is lost
  }
  if (negative) {
    DropCarriedOutLimit(limbs);
  }
}

}  // namespace

void CombineLargeValues(DecimalValue& second, const DecimalValue& top, bool subtract) {
  const bool secondNegative = ValueIsNegative(second);
  const bool topNegative = ValueIsNegative(top);
  // Only operands of one sign (the subtrahend's turned round) can reach 10^64.
  const bool signsAgree = subtract ? secondNegative != topNegative : secondNegative == topNegative;
  uint64_t (&limbs)[kLimbs] = second.limbs;
  if (subtract) {
    wide::SubtractLimbs(second.limbs, top.limbs, kLimbBase, limbs);
  } else {
    wide::AddLimbs(second.limbs, top.limbs, kLimbBase, limbs);
  }
  if (signsAgree && ValueIsNegative(second) != secondNegative) {
    // The magnitude reached 10^64 and wrapped into the other sign's half: losing the carry
    // moves it back by 10^64 (modulo 2 * 10^64).
    limbs[kTop] = secondNegative ? limbs[kTop] + kLimbBase : limbs[kTop] - kLimbBase;
    if (limbs[kTop] == DecimalValue::kTopBase) {
      limbs[kTop] = 0;
    }
  }
  DropCarriedOutLimit(limbs);
}

void RoundMagnitude(uint64_t (&limbs)[kLimbs], int places) { RoundLimbs(limbs, places, false); }

void RoundValue(DecimalValue& value, int places) { RoundLimbs(value.limbs, places, ValueIsNegative(value)); }

int CompareValues(const DecimalValue& a, const DecimalValue& b) {
  const bool aNegative = ValueIsNegative(a);
  if (aNegative != ValueIsNegative(b)) {
    return aNegative ? -1 : 1;
  }
  // A negative number is its limbs less 2 * 10^64, so for either sign larger limbs are a
  // larger number.
  for (int k = kTop; k >= 0; --k) {
    if (a.limbs[k] != b.limbs[k]) {
      return a.limbs[k] < b.limbs[k] ? -1 : 1;
    }
  }
  return 0;
}

DecimalValue ValueFromUInt64(uint64_t magnitude, bool negative) {
  const uint64_t limbs[kLimbs] = {0, 0, magnitude % kLimbBase, magnitude / kLimbBase};
  return ValueFromMagnitude(limbs, negative);
}

uint32_t IntegerPartModulo32(const DecimalValue& value) {
  uint64_t limbs[kLimbs];
  MagnitudeLimbs(value, limbs);
  // Taking the integer part modulo 2^64 and then its low 32 bits is taking it modulo 2^32.
  return static_cast<uint32_t>(limbs[DecimalValue::kUnitsLimb + 1] * kLimbBase + limbs[DecimalValue::kUnitsLimb]);
}

DecimalValue PackDecimal(const DecimalEntry& entry) {
  uint64_t limbs[kLimbs];
  for (int k = 0; k < kLimbs; ++k) {
    const uint64_t low = limbs::Pack(lanes::Load(entry.digits + kDigitsPerLimb * k));
    const uint64_t high = limbs::Pack(lanes::Load(entry.digits + kDigitsPerLimb * k + 8));
    limbs[k] = high * limbs::kLimbBase + low;
  }
  return ValueFromMagnitude(limbs, entry.sign != 0);
}

DecimalEntry UnpackDecimal(const DecimalValue& value) {
  uint64_t limbs[kLimbs];
  MagnitudeLimbs(value, limbs);
  DecimalEntry entry;
  for (int k = 0; k < kLimbs; ++k) {
    const uint64_t high = limbs[k] / limbs::kLimbBase;
    const uint64_t low = limbs[k] - high * limbs::kLimbBase;
    lanes::Store(entry.digits + kDigitsPerLimb * k, limbs::Unpack(static_cast<uint32_t>(low)));
    lanes::Store(entry.digits + kDigitsPerLimb * k + 8, limbs::Unpack(static_cast<uint32_t>(high)));
  }
  entry.sign = ValueIsNegative(value) ? 1 : 0;
  NormaliseDecimal(entry);
  return entry;
}

}  // namespace vel::values

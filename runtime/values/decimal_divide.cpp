// Long division of decimal entries (declared in decimal_arithmetic.h).
//
// The quotient is built digit by digit from the top. Both operands are first multiplied by a
// small factor that brings the divisor's leading digit to 5 or more; a trial quotient digit from
// the remainder's two leading digits over that leading digit is then at most two too large, and
// is corrected by adding the divisor back. The trial subtraction uses the cached multiples of the
// divisor and runs eight digits at a time.

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_digit_lanes.h"

namespace vel::values {
namespace {

constexpr int kQuotientPlaces = 31;
// The scaled dividend has at most 64 digits, 95 appended zeros and one normalisation digit;
// windows of up to 72 digits read past its top, so the buffer leaves room for that.
constexpr int kWorkDigits = 160 + 72 + 8;
constexpr int kMultipleDigits = 72;

/// kTrialDigits[d][n] = min(9, n / d) for a leading divisor digit d of 5 to 9 and a pair of
/// leading remainder digits n, so the inner loop needs no hardware division.
struct TrialDigitTable {
  uint8_t digits[10][100];
  constexpr TrialDigitTable() : digits{} {
    for (int divisor = 1; divisor < 10; ++divisor) {
      for (int pair = 0; pair < 100; ++pair) {
        digits[divisor][pair] = static_cast<uint8_t>(pair / divisor < 9 ? pair / divisor : 9);
      }
    }
  }
  constexpr const uint8_t* operator[](int divisor) const { return digits[divisor]; }
};
constexpr TrialDigitTable kTrialDigits;

/// Multiplies a digit run (lowest first) by a single digit in place; returns the carry digit.
uint8_t ScaleDigits(uint8_t* digits, int count, int factor) {
  int carry = 0;
  for (int i = 0; i < count; ++i) {
    const int value = digits[i] * factor + carry;
    carry = value / 10;
    digits[i] = static_cast<uint8_t>(value - carry * 10);
  }
  return static_cast<uint8_t>(carry);
}

/// window -= multiple over `lanesUsed` digits; returns true on a borrow out of the window.
bool SubtractWindow(uint8_t* window, const uint8_t* multiple, int lanesUsed) {
  uint64_t borrow = 0;
  for (int lane = 0; lane < lanesUsed; lane += 8) {
    lanes::Store(window + lane, lanes::SubtractDigits(lanes::Load(window + lane), lanes::Load(multiple + lane), borrow));
  }
  return borrow != 0;
}

/// window += multiple over `lanesUsed` digits; returns true on a carry out of the window.
bool AddWindow(uint8_t* window, const uint8_t* multiple, int lanesUsed) {
  uint64_t carry = 0;
  for (int lane = 0; lane < lanesUsed; lane += 8) {
    lanes::Store(window + lane, lanes::AddDigits(lanes::Load(window + lane), lanes::Load(multiple + lane), carry));
  }
  return carry != 0;
}

/// Writes the digits of floor(|dividend| / |divisor|) at positions 0 to 63 of `quotient`
/// (position 0 = 10 to the power -32); digits above position 63 are lost.
void LongDivide(const DecimalEntry& dividend, const DecimalEntry& divisor, DecimalEntry& quotient) {
  uint8_t divisorDigits[kMultipleDigits] = {};
  int divisorCount = divisor.high - divisor.low + 1;
  std::memcpy(divisorDigits, divisor.digits + divisor.low, static_cast<size_t>(divisorCount));

  // As integers the quotient is A * 10^shift / B, where A and B are the digit runs.
  int dividendLow = dividend.low;
  int shift = dividend.low - divisor.low + DecimalEntry::kUnits;
  if (shift < 0) {
    // floor(floor(A / 10^k) / B) = floor(A / (10^k B)): drop the dividend's lowest k digits.
    dividendLow -= shift;
    shift = 0;
    if (dividendLow > dividend.high) {
      return;
    }
  }
  const int dividendCount = dividend.high - dividendLow + 1;

  alignas(8) uint8_t work[kWorkDigits] = {};
  std::memcpy(work + shift, dividend.digits + dividendLow, static_cast<size_t>(dividendCount));
  int workCount = shift + dividendCount + 1;  // one more digit for the normalisation carry

  const int factor = 10 / (divisorDigits[divisorCount - 1] + 1);
  if (factor > 1) {
    ScaleDigits(divisorDigits, divisorCount, factor);  // cannot carry: leading digit stays below 10
    work[workCount - 1] = ScaleDigits(work + shift, dividendCount, factor);
  }

  const int lanesUsed = (divisorCount + 1 + 7) / 8 * 8;
  alignas(8) uint8_t multiples[10][kMultipleDigits];
  std::memset(multiples[0], 0, sizeof multiples[0]);
  std::memcpy(multiples[1], divisorDigits, sizeof divisorDigits);
  for (int multiple = 2; multiple <= 9; ++multiple) {
    uint64_t carry = 0;
    for (int lane = 0; lane < lanesUsed; lane += 8) {
      lanes::Store(multiples[multiple] + lane,
                   lanes::AddDigits(lanes::Load(multiples[multiple - 1] + lane), lanes::Load(multiples[1] + lane), carry));
    }
  }

  // The trial digit comes from the remainder's two leading digits over the divisor's leading
  // digit, then is lowered while the next digits of both show it too large (as in Knuth's
  // algorithm D). What remains too large, rarely by one, is corrected by adding back.
  const int leadingDivisorDigit = divisorDigits[divisorCount - 1];
  const int nextDivisorDigit = divisorCount > 1 ? divisorDigits[divisorCount - 2] : 0;
  for (int digitIndex = workCount - 1 - divisorCount; digitIndex >= 0; --digitIndex) {
    uint8_t* window = work + digitIndex;  // the remainder, divisorCount + 1 digits
    const int leadingPair = window[divisorCount] * 10 + window[divisorCount - 1];
    if (leadingPair < leadingDivisorDigit) {
      continue;  // the quotient digit is 0
    }
    int trial = kTrialDigits[leadingDivisorDigit][leadingPair];
    const int thirdDigit = divisorCount > 1 ? window[divisorCount - 2] : 0;
    while (trial * nextDivisorDigit > (leadingPair - trial * leadingDivisorDigit) * 10 + thirdDigit) {
      --trial;
    }
    if (SubtractWindow(window, multiples[trial], lanesUsed)) {
      // The trial digit was too large (by at most two): add the divisor back until the
      // remainder's ten's complement carries out again.
      do {
        --trial;
      } while (!AddWindow(window, multiples[1], lanesUsed));
    }
    if (digitIndex < DecimalEntry::kPositions) {
      quotient.digits[digitIndex] = static_cast<uint8_t>(trial);
    }
  }
}

bool IsPowerOfTen(const DecimalEntry& entry) { return entry.low == entry.high && entry.digits[entry.low] == 1; }

}  // namespace

DecimalEntry DivideDecimals(const DecimalEntry& dividend, const DecimalEntry& divisor) {
  DecimalEntry quotient = DecimalZero();
  if (!DecimalIsNonZero(divisor) || !DecimalIsNonZero(dividend)) {
    return quotient;
  }
  if (IsPowerOfTen(divisor)) {
    quotient = dividend;
    ShiftDecimal(quotient, DecimalEntry::kUnits - divisor.low);
  } else {
    LongDivide(dividend, divisor, quotient);
  }
  quotient.sign = 0;
  NormaliseDecimal(quotient);
  // The digit at position 0 (the 32nd place) is exact, which is all half-up rounding needs.
  RoundDecimal(quotient, kQuotientPlaces);
  quotient.sign = DecimalIsNonZero(quotient) ? (dividend.sign ^ divisor.sign) : 0;
  return quotient;
}

}  // namespace vel::values

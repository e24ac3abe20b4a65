// Long division of decimal entries (declared in decimal_arithmetic.h).
//
// The quotient is computed as an integer division of digit runs held as limbs of eight digits
// (radix 10^8), so each step of the long division produces eight quotient digits. A divisor of
// one limb divides limb by limb; a longer one follows Knuth's algorithm D: both operands are
// first multiplied by a factor that makes the divisor's leading limb at least half the radix,
// after which a trial quotient limb from the remainder's two leading limbs is at most two too
// large, and the next limbs bring that down to rarely one, corrected by adding the divisor back.

#include <algorithm>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_digit_lanes.h"
#include "runtime/values/decimal_limbs.h"

namespace vel::values {
namespace {

constexpr int kQuotientPlaces = 31;
constexpr int64_t kBase = static_cast<int64_t>(limbs::kLimbBase);
// The shifted dividend has at most 64 digits above 95 appended zeros: 20 limbs.
constexpr int kMaxDividendLimbs = 20;
constexpr int kQuotientWords = DecimalEntry::kPositions / 8;

/// A digit run as limbs, lowest first.
struct LimbRun {
  uint64_t limbs[kMaxDividendLimbs + 1];  // one more for the normalisation carry
  int count;
};

/// The eight digits of `entry` from `position` up, reading positions outside 0 to 63 as 0.
uint64_t LoadDigitsAt(const DecimalEntry& entry, int position) {
  if (position >= 0 && position <= DecimalEntry::kPositions - 8) {
    return lanes::Load(entry.digits + position);
  }
  if (position < 0 && position > -8) {
    return lanes::Load(entry.digits) << (8 * -position);
  }
  if (position > DecimalEntry::kPositions - 8 && position < DecimalEntry::kPositions) {
    return lanes::Load(entry.digits + DecimalEntry::kPositions - 8) >> (8 * (position - (DecimalEntry::kPositions - 8)));
  }
  return 0;
}

/// Reads the `count` digits of `entry` from position `first` up as limbs; positions above
/// `first + count - 1` must hold 0 or lie above position 63. Returns the index of the lowest
/// limb that may be nonzero: limbs wholly below the entry's lowest digit are 0 without reading.
int PackDigits(const DecimalEntry& entry, int first, int count, LimbRun& run) {
  run.count = (count + 7) / 8;
  const int firstNonZero = std::clamp((entry.low - first) / 8, 0, run.count);
  std::fill(run.limbs, run.limbs + firstNonZero, 0);
  for (int limb = firstNonZero; limb < run.count; ++limb) {
    run.limbs[limb] = limbs::Pack(LoadDigitsAt(entry, first + 8 * limb));
  }
  return firstNonZero;
}

/// run *= factor (a limb), where limbs below `firstNonZero` are 0 and stay so; returns the
/// carry out of the top limb.
uint64_t ScaleLimbs(LimbRun& run, uint64_t factor, int firstNonZero = 0) {
  uint64_t carry = 0;
  for (int limb = firstNonZero; limb < run.count; ++limb) {
    const uint64_t value = run.limbs[limb] * factor + carry;
    carry = value / limbs::kLimbBase;
    run.limbs[limb] = value - carry * limbs::kLimbBase;
  }
  return carry;
}

/// Stores quotient limb `index` as digits, dropping limbs above position 63.
void StoreQuotientLimb(DecimalEntry& quotient, int index, uint64_t limb) {
  if (index < kQuotientWords) {
    lanes::Store(quotient.digits + 8 * index, limbs::Unpack(static_cast<uint32_t>(limb)));
  }
}

void DivideBySingleLimb(const LimbRun& dividend, uint64_t divisor, DecimalEntry& quotient) {
  const limbs::LimbDivisor by(static_cast<uint32_t>(divisor));
  uint64_t remainder = 0;
  for (int index = dividend.count - 1; index >= 0; --index) {
    // remainder < divisor < 10^8, so the numerator stays below 10^16 < 2^54.
    const uint64_t limb = by.Divide(remainder * limbs::kLimbBase + dividend.limbs[index], remainder);
    StoreQuotientLimb(quotient, index, limb);
  }
}

/// Knuth's algorithm D for a divisor of two or more limbs (its top limb nonzero).
void DivideByLimbs(LimbRun& dividend, int dividendFirstNonZero, LimbRun& divisor, DecimalEntry& quotient) {
  const int n = divisor.count;
  if (dividend.count < n) {
    return;  // the quotient is 0
  }
  const uint64_t factor = limbs::kLimbBase / (divisor.limbs[n - 1] + 1);
  ScaleLimbs(divisor, factor);  // cannot carry out: the leading limb stays below the radix
  dividend.limbs[dividend.count] = ScaleLimbs(dividend, factor, dividendFirstNonZero);

  const uint64_t leading = divisor.limbs[n - 1];
  const uint64_t next = divisor.limbs[n - 2];
  const limbs::LimbDivisor byLeading(static_cast<uint32_t>(leading));
  uint64_t* remainder = dividend.limbs;
  for (int index = dividend.count - n; index >= 0; --index) {
    uint64_t* window = remainder + index;  // n + 1 limbs of the running remainder
    uint64_t rest = 0;
    uint64_t trial = byLeading.Divide(window[n] * limbs::kLimbBase + window[n - 1], rest);
    while (trial >= limbs::kLimbBase || trial * next > rest * limbs::kLimbBase + window[n - 2]) {
      --trial;
      rest += leading;
      if (rest >= limbs::kLimbBase) {
        break;
      }
    }
    // window -= trial * divisor, with a signed borrow running upward.
    int64_t borrow = 0;
    uint64_t productCarry = 0;
    for (int limb = 0; limb < n; ++limb) {
      const uint64_t product = trial * divisor.limbs[limb] + productCarry;
      productCarry = product / limbs::kLimbBase;
      int64_t value = static_cast<int64_t>(window[limb]) - static_cast<int64_t>(product - productCarry * limbs::kLimbBase) + borrow;
      // The sign as a mask rather than a branch: whether a limb borrows is as good as random.
      borrow = value >> 63;
      value += borrow & kBase;
      window[limb] = static_cast<uint64_t>(value);
    }
    const int64_t top = static_cast<int64_t>(window[n]) - static_cast<int64_t>(productCarry) + borrow;
    if (top < 0) {
      // The trial limb was one too large: add the divisor back.
      --trial;
      uint64_t carry = 0;
      for (int limb = 0; limb < n; ++limb) {
        const uint64_t value = window[limb] + divisor.limbs[limb] + carry;
        carry = value >= limbs::kLimbBase ? 1 : 0;
        window[limb] = value - carry * limbs::kLimbBase;
      }
      window[n] = static_cast<uint64_t>(top + static_cast<int64_t>(carry));
    } else {
      window[n] = static_cast<uint64_t>(top);
    }
    StoreQuotientLimb(quotient, index, trial);
  }
}

/// Writes the digits of floor(|dividend| / |divisor|) at positions 0 to 63 of `quotient`
/// (position 0 = 10 to the power -32); digits above position 63 are lost.
void LongDivide(const DecimalEntry& dividend, const DecimalEntry& divisor, DecimalEntry& quotient) {
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
  // The shifted dividend's digit k is the entry's position dividendLow - shift + k; its lowest
  // shift digits read positions below dividendLow, which are 0.
  LimbRun dividendRun;
  const int dividendFirstNonZero = PackDigits(dividend, dividendLow - shift, shift + dividend.high - dividendLow + 1, dividendRun);
  LimbRun divisorRun;
  PackDigits(divisor, divisor.low, divisor.high - divisor.low + 1, divisorRun);

  if (divisorRun.count == 1) {
    DivideBySingleLimb(dividendRun, divisorRun.limbs[0], quotient);
  } else {
    DivideByLimbs(dividendRun, dividendFirstNonZero, divisorRun, quotient);
  }
}

bool IsPowerOfTen(const DecimalEntry& entry) { return entry.low == entry.high && entry.digits[entry.low] == 1; }

}  // namespace

DecimalEntry DivideDecimals(const DecimalEntry& dividend, const DecimalEntry& divisor) {
  DecimalEntry quotient = DecimalZero();
  // A normalised entry is zero exactly when its highest digit is.
  if (divisor.digits[divisor.high] == 0 || dividend.digits[dividend.high] == 0) {
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

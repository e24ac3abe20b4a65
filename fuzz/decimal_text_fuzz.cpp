// Feeds arbitrary bytes to the decimal readers (number text and the two packed layouts) and
// checks the invariants every later operation relies on: digits 0-9, zeros outside the range
// in use, a positive zero, a text form that reads back to the same value, and a limb form
// that unpacks to the same digits. The number read as text and the one read as a Decimal
// variable then go through the stack's arithmetic, which must keep the identities of sums,
// differences, products and rounding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_entry.h"
#include "runtime/values/decimal_storage.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/decimal_value.h"

namespace {

using vel::values::DecimalEntry;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

void CheckEntry(const DecimalEntry& entry) {
  bool nonZero = false;
  for (int position = 0; position < DecimalEntry::kPositions; ++position) {
    Check(entry.digits[position] <= 9);
    if (position < entry.low || position > entry.high) {
      Check(entry.digits[position] == 0);
    }
    nonZero = nonZero || entry.digits[position] != 0;
  }
  Check(entry.low <= entry.high && entry.high < DecimalEntry::kPositions);
  if (!nonZero) {
    Check(entry.sign == 0 && entry.low == DecimalEntry::kUnits && entry.high == DecimalEntry::kUnits);
  } else {
    Check(entry.digits[entry.low] != 0 && entry.digits[entry.high] != 0);
  }
  char text[vel::values::kMaxDecimalTextLength];
  const size_t length = vel::values::DecimalToText(entry, text);
  Check(length <= sizeof text);
  const DecimalEntry again = vel::values::DecimalFromText(text, length);
  Check(vel::values::CompareDecimals(entry, again) == 0 && entry.sign == again.sign);
  // The stack's limb form holds the same number.
  const DecimalEntry unpacked = vel::values::UnpackDecimal(vel::values::PackDecimal(entry));
  Check(std::memcmp(unpacked.digits, entry.digits, sizeof entry.digits) == 0 && unpacked.sign == entry.sign &&
        unpacked.low == entry.low && unpacked.high == entry.high);
}

bool Same(const vel::values::DecimalValue& a, const vel::values::DecimalValue& b) { return vel::values::CompareValues(a, b) == 0; }

/// Identities the stack's arithmetic must keep for any two values, whatever their size.
void CheckArithmetic(const DecimalEntry& first, const DecimalEntry& second) {
  using namespace vel::values;
  const DecimalValue a = PackDecimal(first);
  const DecimalValue b = PackDecimal(second);
  DecimalValue sum = a;
  AddValues(sum, b);
  DecimalValue reversedSum = b;
  AddValues(reversedSum, a);
  Check(Same(sum, reversedSum));
  DecimalValue difference = a;
  SubtractValues(difference, b);
  DecimalValue reversedDifference = b;
  SubtractValues(reversedDifference, a);
  NegateValue(reversedDifference);
  Check(Same(difference, reversedDifference));
  Check(CompareValues(a, b) == -CompareValues(b, a));
  // Below half the limit nothing is lost, so a sum gives back its operand.
  static const DecimalValue half = PackDecimal(DecimalFromText("50000000000000000000000000000000", 32));
  DecimalValue aMagnitude = a;
  DecimalValue bMagnitude = b;
  if (ValueIsNegative(aMagnitude)) NegateValue(aMagnitude);
  if (ValueIsNegative(bMagnitude)) NegateValue(bMagnitude);
  if (CompareValues(aMagnitude, half) < 0 && CompareValues(bMagnitude, half) < 0) {
    DecimalValue back = sum;
    SubtractValues(back, b);
    Check(Same(back, a));
    Check(CompareValues(difference, ValueZero()) == CompareValues(a, b));
  }
  Check(Same(MultiplyValues(a, b), MultiplyValues(b, a)));
  const DecimalValue one = ValueFromUInt64(1, false);
  Check(Same(MultiplyValues(a, one), a));
  DecimalValue roundedA = a;
  RoundValue(roundedA, 31);
  Check(Same(DivideValues(a, one), roundedA));
  DecimalValue unrounded = a;
  RoundValue(unrounded, 32);
  Check(Same(unrounded, a));
  CheckEntry(UnpackDecimal(DivideValues(a, b)));
  CheckEntry(UnpackDecimal(MultiplyValues(a, b)));
  CheckEntry(UnpackDecimal(sum));
  CheckEntry(UnpackDecimal(difference));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  const DecimalEntry parsed = vel::values::DecimalFromText(text, size);
  CheckEntry(parsed);
  // The stack's own reader gives the same number.
  Check(vel::values::CompareValues(vel::values::ValueFromText(text, size), vel::values::PackDecimal(parsed)) == 0);
  if (size >= 2) {
    const uint32_t places = data[0] % 40;
    const auto storageSize = static_cast<uint32_t>(size - 1);
    const DecimalEntry stored = vel::values::ReadDecimalStorage(data + 1, storageSize, places);
    CheckEntry(stored);
    CheckEntry(vel::values::ReadPackedStorage(data + 1, storageSize, places));
    CheckArithmetic(parsed, stored);
    // Whatever was read must store back into a variable of the same shape without overrun.
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(storageSize));
    vel::values::WriteDecimalStorage(copy, storageSize, places, parsed);
    CheckEntry(vel::values::ReadDecimalStorage(copy, storageSize, places));
    std::free(copy);
  }
  DecimalEntry rounded = parsed;
  vel::values::RoundDecimal(rounded, size % 33);
  CheckEntry(rounded);
  CheckEntry(vel::values::MultiplyDecimals(parsed, parsed));
  CheckEntry(vel::values::DivideDecimals(rounded, parsed));
  return 0;
}

// Feeds arbitrary bytes to the decimal readers (number text and the two packed layouts) and
// checks the invariants every later operation relies on: digits 0-9, zeros outside the range
// in use, a positive zero, and a text form that reads back to the same value.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_entry.h"
#include "runtime/values/decimal_storage.h"
#include "runtime/values/decimal_text.h"

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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  const DecimalEntry parsed = vel::values::DecimalFromText(text, size);
  CheckEntry(parsed);
  if (size >= 2) {
    const uint32_t places = data[0] % 40;
    const auto storageSize = static_cast<uint32_t>(size - 1);
    CheckEntry(vel::values::ReadDecimalStorage(data + 1, storageSize, places));
    CheckEntry(vel::values::ReadPackedStorage(data + 1, storageSize, places));
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

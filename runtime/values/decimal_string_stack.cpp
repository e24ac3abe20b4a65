#include "runtime/values/decimal_string_stack.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/number_conversions.h"
#include "runtime/values/string_stack.h"

namespace vel::values {
namespace {

// The work buffer of the conversion holds 100 bytes: 99 characters and a terminator.
constexpr std::uint32_t kMaxLongInput = 99;

}  // namespace

void PushDecimal() {
  char text[kMaxDecimalTextLength];
  const size_t length = CurrentDecimalStack().PopText(text, sizeof text);
  PushBytes(text, static_cast<std::uint32_t>(length));
}

int32_t PopToLong() {
  const StringView top = TopView();
  char work[kMaxLongInput + 1];
  const std::uint32_t length = std::min(top.length, kMaxLongInput);
  if (length != 0) {
    std::memcpy(work, top.data, length);
  }
  work[length] = '\0';
  DropTop();
  // The number is converted on a private stack: pushing it onto the thread's decimal stack
  // would be refused when that stack is full, and the pop would then take someone else's
  // operand. The result is the same as pushing and popping on the thread's stack.
  DecimalStack conversion;
  conversion.PushText(work, std::strlen(work));
  return conversion.PopInt32();
}

int64_t PopToInteger() {
  const StringView top = TopView();
  const int64_t value = TextToInteger(top.data, top.length);
  DropTop();
  return value;
}

}  // namespace vel::values

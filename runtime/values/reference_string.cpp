#include "runtime/values/reference_string.h"

#include <cstring>

#include "runtime/values/byte_ops.h"
#include "runtime/values/char_codepage.h"
#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_string_stack.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/number_conversions.h"
#include "runtime/values/reference_decimal.h"
#include "runtime/values/reference_errors.h"

namespace vel::values {

namespace {

/// The bytes that hold characters: a length-prefixed string keeps its characters after the
/// length byte.
constexpr std::uint32_t CharacterOffset(int code) { return code == 20 ? 1 : 0; }

}  // namespace

template <int Code>
StringKindReference<Code>::StringKindReference(void* data, std::uint32_t size, bool allocate,
                                               const void* source)
    : ValueReference(data, size, 0) {
  if (allocate) AllocateStorage(source);
}

template <int Code>
StringView StringKindReference<Code>::Text() const {
  if (m_data == nullptr || m_size == 0) return {};
  if constexpr (Code == 19) {
    const void* terminator = std::memchr(m_data, 0, m_size);
    auto length = terminator == nullptr
                      ? m_size
                      : static_cast<std::uint32_t>(static_cast<const char*>(terminator) - Chars());
    return {Chars(), length};
  } else if constexpr (Code == 20) {
    std::uint32_t length = Bytes()[0];
    if (length > m_size - 1) length = m_size - 1;
    return {Chars() + 1, length};
  } else {
    return {Chars(), m_size};
  }
}

template <int Code>
void StringKindReference<Code>::AssignFromStack() {
  if (m_data == nullptr) {
    DropTop();
    return;
  }
  if constexpr (Code == 19) {
    PopToCString(Chars(), m_size);
  } else if constexpr (Code == 20) {
    PopToPascal(Chars(), m_size);
  } else {
    PopToFixed(Chars(), m_size);
  }
}

template <int Code>
void StringKindReference<Code>::PushText() {
  StringView text = Text();
  PushString(text.data, text.length);
}

template <int Code>
void StringKindReference<Code>::SetInt(std::int32_t value) {
  PushLong(value);
  AssignFromStack();
}

template <int Code>
void StringKindReference<Code>::SetReal(double value) {
  PushReal(value);
  AssignFromStack();
}

template <int Code>
void StringKindReference<Code>::AssignFromDecimal() {
  values::PushDecimal();
  AssignFromStack();
}

template <int Code>
void StringKindReference<Code>::PushDecimal() {
  StringView text = Text();
  CurrentDecimalStack().Push(DecimalFromText(text.data, text.length));
}

template <int Code>
double StringKindReference<Code>::GetReal() {
  StringView text = Text();
  return ReadFloat64Text(text.data, text.length);
}

template <int Code>
std::int32_t StringKindReference<Code>::GetInt() {
  StringView text = Text();
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(TextToInteger(text.data, text.length)));
}

template <int Code>
int StringKindReference<Code>::IsZero() {
  StringView text = Text();
  for (std::uint32_t i = 0; i < text.length; ++i) {
    char c = text.data[i];
    // An opaque value's cleared state is bytes 0, so those count as blank there too.
    if (c != ' ' && !(Code == 31 && c == 0)) return 0;
  }
  return 1;
}

template <int Code>
void StringKindReference<Code>::Clear(int n) {
  if (m_data == nullptr) return;
  if constexpr (Code == 31) {
    std::memset(m_data, 0, m_size);
  } else if constexpr (Code == 19) {
    AssignCString(Chars(), m_size, nullptr, n);
  } else if constexpr (Code == 20) {
    AssignPascal(Chars(), m_size, nullptr, n);
  } else {
    AssignFixed(Chars(), m_size, nullptr, n);
  }
}

template <int Code>
std::unique_ptr<ValueReference> StringKindReference<Code>::Clone() const {
  return std::make_unique<StringKindReference<Code>>(m_data, m_size, false, nullptr);
}

template <int Code>
std::unique_ptr<ValueReference> StringKindReference<Code>::Slice(std::uint32_t start,
                                                                 std::uint32_t end) {
  std::uint32_t capacity = m_size - (m_size > 0 ? CharacterOffset(Code) : 0);
  if (m_data == nullptr || start < 1 || start > end || end > capacity) {
    RaiseValueRuntimeError(kErrorSlice, kParameterTypingText);
    return nullptr;
  }
  // A slice is written with the fixed-string rules whatever the storage form of its variable.
  char* first = Chars() + CharacterOffset(Code) + (start - 1);
  return std::make_unique<FixedStringReference>(first, end - start + 1, false, nullptr);
}

template <int Code>
void StringKindReference<Code>::ToOem() {
  StringView text = Text();
  if (text.data != nullptr) AnsiToOemText(const_cast<char*>(text.data), text.length);
}

template <int Code>
void StringKindReference<Code>::ToAnsi() {
  StringView text = Text();
  if (text.data != nullptr) OemToAnsiText(const_cast<char*>(text.data), text.length);
}

template class StringKindReference<18>;
template class StringKindReference<19>;
template class StringKindReference<20>;
template class StringKindReference<31>;

}  // namespace vel::values

#include "runtime/values/reference_decimal.h"

#include <cstring>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_float.h"
#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_storage.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/number_conversions.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

namespace {

DecimalEntry EntryFromInt32(std::int32_t value) {
  DecimalStack work;
  work.PushInt32(value);
  return work.PopEntry();
}

std::uint32_t ReadWord(const void* data) {
  std::uint32_t word = 0;
  std::memcpy(&word, data, sizeof word);
  return word;
}

/// Pushes the decimal text of `value` onto the string stack, detached.
void PushDecimalText(const DecimalEntry& value) {
  char text[kMaxDecimalTextLength];
  std::size_t length = DecimalToText(value, text);
  PushBytes(text, static_cast<std::uint32_t>(length));
}

}  // namespace

std::int32_t DecimalToInt32(const DecimalEntry& value) {
  DecimalStack work;
  work.Push(value);
  return work.PopInt32();
}

template <int Code>
DecimalKindReference<Code>::DecimalKindReference(void* data, std::uint32_t size,
                                                 std::uint32_t places, bool allocate,
                                                 const void* source)
    : ValueReference(data, Code == 7 ? 4 : size, Code == 7 ? 0 : places) {
  if (allocate) AllocateStorage(source);
}

template <int Code>
DecimalEntry DecimalKindReference<Code>::Read() const {
  if (m_data == nullptr) return DecimalZero();
  if constexpr (Code == 7) {
    return DecimalFromUInt64(ReadWord(m_data), false);
  } else if constexpr (Code == 10) {
    return ReadDecimalStorage(m_data, m_size, m_places);
  } else {
    return ReadPackedStorage(m_data, m_size, m_places);
  }
}

template <int Code>
void DecimalKindReference<Code>::Write(const DecimalEntry& value) {
  if (m_data == nullptr) return;
  if constexpr (Code == 7) {
    DecimalStack work;
    work.Push(value);
    std::uint32_t word = work.PopUInt32();
    std::memcpy(m_data, &word, sizeof word);
  } else if constexpr (Code == 10) {
    WriteDecimalStorage(m_data, m_size, m_places, value);
  } else {
    WritePackedStorage(m_data, m_size, m_places, value);
  }
}

template <int Code>
void DecimalKindReference<Code>::SetInt(std::int32_t value) {
  if constexpr (Code == 7) {
    // An unsigned word keeps the low 32 bits of a negative value, as any narrowing store does.
    if (m_data != nullptr) std::memcpy(m_data, &value, sizeof value);
  } else {
    Write(EntryFromInt32(value));
  }
}

template <int Code>
void DecimalKindReference<Code>::SetReal(double value) {
  if constexpr (Code == 7) {
    SetInt(static_cast<std::int32_t>(static_cast<std::uint32_t>(TruncateFloat64(value))));
  } else {
    Write(DecimalFromFloat64(value));
  }
}

template <int Code>
void DecimalKindReference<Code>::AssignFromStack() {
  OwnedString text;
  PopToOwned(text);
  DecimalEntry value = DecimalFromText(text.data, text.length);
  FreeOwnedString(text);
  // An unsigned word rounds like the other decimal kinds before it drops the fraction.
  if constexpr (Code == 7) RoundDecimal(value, 0);
  Write(value);
}

template <int Code>
void DecimalKindReference<Code>::PushText() {
  PushDecimalText(Read());
}

template <int Code>
void DecimalKindReference<Code>::AssignFromDecimal() {
  Write(CurrentDecimalStack().PopEntry());
}

template <int Code>
void DecimalKindReference<Code>::PushDecimal() {
  CurrentDecimalStack().Push(Read());
}

template <int Code>
double DecimalKindReference<Code>::GetReal() {
  return DecimalToFloat64(Read());
}

template <int Code>
std::int32_t DecimalKindReference<Code>::GetInt() {
  return DecimalToInt32(Read());
}

template <int Code>
int DecimalKindReference<Code>::IsZero() {
  return DecimalIsNonZero(Read()) ? 0 : 1;
}

template <int Code>
void DecimalKindReference<Code>::Clear(int n) {
  if (m_data == nullptr || m_size == 0) return;
  if (n == 0) {
    Write(DecimalZero());
    return;
  }
  if constexpr (Code == 7) {
    std::memset(m_data, n < 0 ? 0 : 0xFF, m_size);
  } else {
    // Every digit nibble 9; the sign nibble says negative for n < 0.
    std::memset(m_data, 0x99, m_size);
    if constexpr (Code == 10) {
      Bytes()[0] = static_cast<unsigned char>((n < 0 ? 0xF0 : 0x00) | 0x09);
    } else {
      Bytes()[m_size - 1] = static_cast<unsigned char>(0x90 | (n < 0 ? 0x0D : 0x0F));
    }
  }
}

template <int Code>
std::unique_ptr<ValueReference> DecimalKindReference<Code>::Clone() const {
  return std::make_unique<DecimalKindReference<Code>>(m_data, m_size, m_places, false, nullptr);
}

template class DecimalKindReference<7>;
template class DecimalKindReference<10>;
template class DecimalKindReference<11>;

}  // namespace vel::values

#include "runtime/values/reference_integer.h"

#include <cstring>
#include <limits>

#include "runtime/values/date_calendar.h"
#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_string_stack.h"
#include "runtime/values/number_conversions.h"
#include "runtime/values/storage_kinds.h"
#include "runtime/values/string_stack.h"
#include "runtime/values/time_values.h"

namespace vel::values {

namespace {

constexpr std::uint32_t kSizes[] = {0, 1, 2, 2, 4, 4, 4};

std::uint32_t ReadWord(const unsigned char* bytes) {
  std::uint32_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

void WriteWord(unsigned char* bytes, std::uint32_t word) { std::memcpy(bytes, &word, sizeof word); }

/// The low 32 bits of a wide integer, as any narrowing store keeps them.
std::int32_t Low32(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

}  // namespace

template <int Code>
IntegerKindReference<Code>::IntegerKindReference(void* data, bool allocate, const void* source)
    : ValueReference(data, kSizes[Code], 0) {
  if (allocate) AllocateStorage(source);
}

template <int Code>
void IntegerKindReference<Code>::SetInt(std::int32_t value) {
  if (m_data == nullptr) return;
  if constexpr (Code == 4) {
    StoreDateValue(value, Bytes());
  } else if constexpr (Code == 5) {
    WriteWord(Bytes(), TimeToPacked(value));
  } else {
    StoreIntegerBits(m_data, static_cast<StorageKind>(Code), value);
  }
}

template <int Code>
std::int32_t IntegerKindReference<Code>::GetInt() {
  if (m_data == nullptr) return 0;
  if constexpr (Code == 4) {
    return LoadDateValue(Bytes());
  } else if constexpr (Code == 5) {
    return PackedToTime(ReadWord(Bytes()));
  } else {
    return Low32(LoadInteger(m_data, static_cast<StorageKind>(Code)));
  }
}

template <int Code>
void IntegerKindReference<Code>::SetReal(double value) {
  SetInt(Low32(TruncateFloat64(value)));
}

template <int Code>
void IntegerKindReference<Code>::AssignFromStack() {
  SetInt(Low32(PopToInteger()));
}

template <int Code>
void IntegerKindReference<Code>::PushText() {
  PushLong(GetInt());
}

template <int Code>
void IntegerKindReference<Code>::AssignFromDecimal() {
  SetInt(DecPopInt32());
}

template <int Code>
void IntegerKindReference<Code>::PushDecimal() {
  DecPushInt32(GetInt());
}

template <int Code>
double IntegerKindReference<Code>::GetReal() {
  return GetInt();
}

template <int Code>
void IntegerKindReference<Code>::Clear(int n) {
  if (m_data == nullptr) return;
  if (n == 0) {
    std::memset(m_data, 0, m_size);
    return;
  }
  switch (Code) {
    case 2:
      SetInt(n < 0 ? std::numeric_limits<std::int16_t>::min()
                   : std::numeric_limits<std::int16_t>::max());
      return;
    case 6:
      SetInt(n < 0 ? std::numeric_limits<std::int32_t>::min()
                   : std::numeric_limits<std::int32_t>::max());
      return;
    default:
      // The unsigned kinds and the packed date and time have no negative values: their lowest
      // is 0 and their highest has every bit set.
      std::memset(m_data, n < 0 ? 0 : 0xFF, m_size);
      return;
  }
}

template <int Code>
std::unique_ptr<ValueReference> IntegerKindReference<Code>::Clone() const {
  return std::make_unique<IntegerKindReference<Code>>(m_data, false, nullptr);
}

template class IntegerKindReference<1>;
template class IntegerKindReference<2>;
template class IntegerKindReference<3>;
template class IntegerKindReference<4>;
template class IntegerKindReference<5>;
template class IntegerKindReference<6>;

}  // namespace vel::values

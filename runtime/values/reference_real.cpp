#include "runtime/values/reference_real.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/values/decimal_stack.h"
#include "runtime/values/number_conversions.h"
#include "runtime/values/storage_mbf.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

namespace {

constexpr std::uint32_t SizeOf(int code) { return code == 8 || code == 13 ? 4 : 8; }

/// A double narrowed to float, with out-of-range finite values becoming infinities explicitly
/// rather than through an implementation's conversion.
float NarrowToFloat(double value) {
  constexpr double kHighest = std::numeric_limits<float>::max();
  if (value > kHighest) return std::numeric_limits<float>::infinity();
  if (value < -kHighest) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

}  // namespace

template <int Code>
RealKindReference<Code>::RealKindReference(void* data, bool allocate, const void* source)
    : ValueReference(data, SizeOf(Code), 0) {
  if (allocate) AllocateStorage(source);
}

template <int Code>
void RealKindReference<Code>::SetReal(double value) {
  if (m_data == nullptr) return;
  if constexpr (Code == 8) {
    float narrow = NarrowToFloat(value);
    std::memcpy(m_data, &narrow, sizeof narrow);
  } else if constexpr (Code == 9) {
    std::memcpy(m_data, &value, sizeof value);
  } else if constexpr (Code == 13) {
    WriteMbfFloat32(m_data, value);
  } else {
    WriteMbfFloat64(m_data, value);
  }
}

template <int Code>
double RealKindReference<Code>::GetReal() {
  if (m_data == nullptr) return 0;
  if constexpr (Code == 8) {
    float narrow = 0;
    std::memcpy(&narrow, m_data, sizeof narrow);
    return narrow;
  } else if constexpr (Code == 9) {
    double value = 0;
    std::memcpy(&value, m_data, sizeof value);
    return value;
  } else if constexpr (Code == 13) {
    return ReadMbfFloat32(m_data);
  } else {
    return ReadMbfFloat64(m_data);
  }
}

template <int Code>
std::int32_t RealKindReference<Code>::GetInt() {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(TruncateFloat64(GetReal())));
}

template <int Code>
void RealKindReference<Code>::AssignFromStack() {
  SetReal(PopToReal());
}

template <int Code>
void RealKindReference<Code>::PushText() {
  PushReal(GetReal());
}

template <int Code>
void RealKindReference<Code>::AssignFromDecimal() {
  SetReal(DecPopFloat64());
}

template <int Code>
void RealKindReference<Code>::PushDecimal() {
  DecPushFloat64(GetReal());
}

template <int Code>
void RealKindReference<Code>::Clear(int n) {
  if (m_data == nullptr) return;
  if constexpr (Code == 13 || Code == 14) {
    // These kinds clear by bytes: the highest has every bit but the sign set.
    if (n == 0) {
      std::memset(m_data, 0, m_size);
      return;
    }
    std::memset(m_data, 0xFF, m_size);
    if (n > 0) Bytes()[m_size - 2] &= 0x7F;
  } else {
    double high = Code == 8 ? static_cast<double>(std::numeric_limits<float>::max())
                            : kClearFloat64High;
    SetReal(n == 0 ? 0.0 : (n < 0 ? -high : high));
  }
}

template <int Code>
std::unique_ptr<ValueReference> RealKindReference<Code>::Clone() const {
  return std::make_unique<RealKindReference<Code>>(m_data, false, nullptr);
}

template class RealKindReference<8>;
template class RealKindReference<9>;
template class RealKindReference<13>;
template class RealKindReference<14>;

}  // namespace vel::values

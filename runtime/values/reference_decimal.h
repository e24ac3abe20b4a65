#pragma once

#include <cstdint>

#include "runtime/values/decimal_entry.h"
#include "runtime/values/value_reference.h"

namespace vel::values {

/// A reference to a variable of one of the decimal storage kinds: `UInt32` (7, four bytes),
/// `Decimal` (10) and `PackedDecimal` (11), the last two of a declared size and number of places.
/// Conversions that do not involve the decimal stack by definition (`SetInt`, `GetReal`,
/// `PushText`, ...) use a private work stack, so they never disturb the values that the
/// procedure keeps on the thread's decimal stack.
template <int Code>
class DecimalKindReference final : public ValueReference {
 public:
  DecimalKindReference(void* data, std::uint32_t size, std::uint32_t places, bool allocate,
                       const void* source);

  void SetInt(std::int32_t value) override;
  void SetReal(double value) override;
  int TypeCode() const override { return Code; }
  void AssignFromStack() override;
  void PushText() override;
  void AssignFromDecimal() override;
  void PushDecimal() override;
  double GetReal() override;
  std::int32_t GetInt() override;
  void Clear(int n) override;
  std::unique_ptr<ValueReference> Clone() const override;
  int ArithmeticType() const override { return kArithmeticDecimal; }
  int IsZero() override;

  /// The value as a decimal work value.
  DecimalEntry Read() const;
  /// Stores a decimal work value (rounded half up to the places of the kind).
  void Write(const DecimalEntry& value);
};

using UInt32Reference = DecimalKindReference<7>;
using DecimalReference = DecimalKindReference<10>;
using PackedDecimalReference = DecimalKindReference<11>;

/// The `Int32` holding the integer part of `value` modulo 2 to the power 32.
std::int32_t DecimalToInt32(const DecimalEntry& value);

}  // namespace vel::values

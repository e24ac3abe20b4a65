#pragma once

#include <cstdint>

#include "runtime/values/value_reference.h"

namespace vel::values {

/// A reference to a variable of one of the integer storage kinds: `UInt8` (1), `Int16` (2),
/// `UInt16` (3), `DateValue` (4), `TimeValue` (5) and `Int32` (6). `DateValue` and `TimeValue`
/// hold their packed storage and read and write serial dates and time values.
template <int Code>
class IntegerKindReference final : public ValueReference {
 public:
  IntegerKindReference(void* data, bool allocate, const void* source);

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
  int ArithmeticType() const override { return kArithmeticInteger; }
  int IsZero() override { return GetInt() == 0 ? 1 : 0; }
};

using UInt8Reference = IntegerKindReference<1>;
using Int16Reference = IntegerKindReference<2>;
using UInt16Reference = IntegerKindReference<3>;
using DateValueReference = IntegerKindReference<4>;
using TimeValueReference = IntegerKindReference<5>;
using Int32Reference = IntegerKindReference<6>;

}  // namespace vel::values

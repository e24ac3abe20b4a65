#pragma once

#include <cstdint>

#include "runtime/values/value_reference.h"

namespace vel::values {

/// A reference to a variable of one of the real storage kinds: `Float32` (8), `Float64` (9),
/// `MbfFloat32` (13) and `MbfFloat64` (14). All of them compute as `Float64`.
template <int Code>
class RealKindReference final : public ValueReference {
 public:
  RealKindReference(void* data, bool allocate, const void* source);

  void SetInt(std::int32_t value) override { SetReal(value); }
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
  int ArithmeticType() const override { return kArithmeticReal; }
  int IsZero() override { return GetReal() == 0 ? 1 : 0; }
};

using Float32Reference = RealKindReference<8>;
using Float64Reference = RealKindReference<9>;
using MbfFloat32Reference = RealKindReference<13>;
using MbfFloat64Reference = RealKindReference<14>;

/// The highest value `Clear` stores into a `Float64`: slightly below the largest double.
inline constexpr double kClearFloat64High = 1.7976931348623101e308;

}  // namespace vel::values

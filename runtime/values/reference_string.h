#pragma once

#include <cstdint>

#include "runtime/values/string_stack.h"
#include "runtime/values/value_reference.h"

namespace vel::values {

/// A reference to a variable of one of the string storage kinds of a declared size:
/// `FixedString` (18; also made for `Group`, 22, when created from a type code), `ZString` (19),
/// `LString` (20) and `Opaque` (15 and 31, which both answer 31). Numbers are stored as their
/// text and read back from it.
template <int Code>
class StringKindReference : public ValueReference {
 public:
  StringKindReference(void* data, std::uint32_t size, bool allocate, const void* source);

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
  std::unique_ptr<ValueReference> Slice(std::uint32_t start, std::uint32_t end) override;
  int ArithmeticType() const override { return kArithmeticText; }
  int IsZero() override;
  void ToOem() override;
  void ToAnsi() override;

  /// The current value as a view of the storage: a fixed string or opaque value with its whole
  /// size, a zero-terminated one up to its terminator, a length-prefixed one with its length.
  StringView Text() const;
};

using FixedStringReference = StringKindReference<18>;
using ZStringReference = StringKindReference<19>;
using LStringReference = StringKindReference<20>;
using OpaqueReference = StringKindReference<31>;

}  // namespace vel::values

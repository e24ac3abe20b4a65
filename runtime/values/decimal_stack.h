#pragma once

// The decimal stack: exact decimal work values shared by generated code and the runtime.
//
// Operands are pushed, an operation pops its operands and pushes its result, and the result is
// finally popped into a variable. The stack holds 10 entries; generated code never keeps more
// than 10 operands pending. A caller that breaks that rule still cannot corrupt memory:
//   - a push onto a full stack is ignored (the count stays at 10 and the top is unchanged);
//   - a pop from an empty stack yields 0, so an operation short of operands treats each
//     missing one as 0 and still pushes its result.
// Both are counted per stack, so diagnostics can report unbalanced decimal expressions.
// No operation raises an error: division by zero gives 0, digits that do not fit are lost.
//
// The stack is per-thread state, kept like the string stack: every thread starts with an empty
// stack of its own in thread-local storage, and the operations act on the calling thread's
// current stack, so each thread sees only its own values without any saving or restoring when
// the runtime lock moves. A thread manager that keeps the value state in its thread records can
// still do so: `SaveDecimalStack` moves the calling thread's values into a snapshot and
// `RestoreDecimalStack` puts them back, and `ExchangeCurrentDecimalStack` installs a stack
// object of its choosing.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/values/decimal_entry.h"
#include "runtime/values/decimal_value.h"

namespace vel::values {

/// A stack of up to 10 decimal values and the operations on its top entries ("second" is the
/// entry below the top).
class DecimalStack {
 public:
  static constexpr int kCapacity = 10;

  /// Number of entries in use (0 to 10).
  int Count() const { return m_count; }
  /// Entry `depth` below the top (0 = top) as digits; 0 for a depth the stack does not hold.
  DecimalEntry Peek(int depth = 0) const;
  /// Empties the stack.
  void Clear() { m_count = 0; }
  /// Pops of an empty stack (each missing operand counts once) seen by this stack.
  uint64_t Underflows() const { return m_underflows; }
  /// Pushes ignored because this stack was full.
  uint64_t Overflows() const { return m_overflows; }

  // Push, Pop, Add and Subtract are inline: for short operands the calls would cost as much as
  // the arithmetic.

  /// Pushes a value (ignored when the stack is full).
  void Push(const DecimalValue& value) {
    // The count is read once and written after the copy: the copy may alias it as far as the
    // compiler can tell, and reading it again would wait for the store.
    const int count = m_count;
    if (count == kCapacity) {
      ++m_overflows;
      return;
    }
    m_values[count] = value;
    m_count = count + 1;
  }
  /// Pushes an entry held as digits.
  void Push(const DecimalEntry& entry) { Push(PackDecimal(entry)); }
  /// Pops the top (0 when the stack is empty).
  DecimalValue Pop() {
    const int count = m_count;
    if (count == 0) {
      ++m_underflows;
      return ValueZero();
    }
    m_count = count - 1;
    return m_values[count - 1];
  }
  /// Pops the top as digits.
  DecimalEntry PopEntry() { return UnpackDecimal(Pop()); }

  void PushInt32(int32_t value);
  void PushUInt32(uint32_t value);
  /// Pushes a `Float64` rounded to 15 significant digits.
  void PushFloat64(double value);
  /// Pushes the number read from text (see DecimalFromText); reading stops at `length` or a
  /// zero byte.
  void PushText(const char* text, size_t length);
  /// Pushes a `Decimal` variable of `size` bytes and `places` places.
  void LoadDecimal(const void* address, uint32_t size, uint32_t places);
  /// Pushes a `PackedDecimal` variable.
  void LoadPacked(const void* address, uint32_t size, uint32_t places);
  /// Pops into a `Decimal` variable, rounded half up to its places.
  void StoreDecimal(void* address, uint32_t size, uint32_t places);
  /// Pops into a `PackedDecimal` variable, rounded half up to its places.
  void StorePacked(void* address, uint32_t size, uint32_t places);

  /// Pops top and second, pushes second + top.
  void Add() { BinaryInPlace<AddValues>(); }
  /// Pops top and second, pushes second - top.
  void Subtract() { BinaryInPlace<SubtractValues>(); }
  /// Pops top and second, pushes top - second.
  void SubtractReversed() { BinaryInPlace<SubtractReversedInto>(); }
  /// Pops top and second, pushes their product.
  void Multiply() { BinaryInPlace<MultiplyInto>(); }
  /// Pops top and second, pushes second / top rounded to 31 places (0 for a zero divisor).
  void Divide() { BinaryInPlace<DivideInto>(); }
  /// Replaces the top x with x to the power n.
  void Power(int32_t n);
  /// Changes the sign of the top (zero stays positive).
  void Negate();
  /// Clears the sign of the top.
  void Abs();
  /// Pushes a copy of the top.
  void Duplicate();
  /// Pops top and second and returns -1, 0 or 1 ordering second against top.
  int Compare();
  /// Pops the top and returns 1 if any digit is nonzero, else 0.
  int IsNonZero();
  /// Rounds the top half up to `places` decimal places (clamped to 0-32).
  void Round(int places);

  /// Pops the top as an `Int32`, fraction truncated; the integer part is taken modulo 2^32
  /// (its low 32 bits, as for any narrowing store).
  int32_t PopInt32();
  /// Pops the magnitude as a `UInt32`, fraction truncated, modulo 2^32.
  uint32_t PopUInt32();
  /// Pops the top as a `Float64`.
  double PopFloat64();
  /// Pops the top and writes its text into `buffer` (kMaxDecimalTextLength bytes suffice; a
  /// shorter buffer receives as much as fits); returns the full length of the text.
  size_t PopText(char* buffer, size_t size);

 private:
  /// The top slot, creating a zero entry when the stack is empty.
  DecimalValue& TopSlot();
  using InPlaceOperation = void (*)(DecimalValue& second, const DecimalValue& top);
  /// Runs operation(second, top) for a two-operand operation, which leaves its result in
  /// `second`, and pops the top. The common case works on the slots in place, no operand
  /// copied; the count is written before the call so that nothing waits to read it again.
  template <InPlaceOperation operation>
  void BinaryInPlace() {
    const int count = m_count;
    if (count >= 2) {
      m_count = count - 1;
      operation(m_values[count - 2], m_values[count - 1]);
    } else {
      BinaryShortOfOperands(operation);
    }
  }
  /// A two-operand operation on a stack holding fewer than two entries: the missing operands
  /// read as 0.
  void BinaryShortOfOperands(InPlaceOperation operation);
  /// second = top - second, second * top and second / top, for BinaryInPlace.
  static void SubtractReversedInto(DecimalValue& second, const DecimalValue& top);
  static void MultiplyInto(DecimalValue& second, const DecimalValue& top);
  static void DivideInto(DecimalValue& second, const DecimalValue& top);

  DecimalValue m_values[kCapacity] = {};
  int m_count = 0;
  uint64_t m_underflows = 0;
  uint64_t m_overflows = 0;
};

/// The stack that the operations of the calling thread act on.
DecimalStack& CurrentDecimalStack();

/// Makes `replacement` the calling thread's current stack and returns the one it replaces;
/// null reinstalls the thread's own stack. The replacement must outlive its installation.
DecimalStack* ExchangeCurrentDecimalStack(DecimalStack* replacement);

/// Moves the calling thread's values into a snapshot and leaves its stack empty; null when the
/// stack is empty.
std::unique_ptr<DecimalStack> SaveDecimalStack();

/// Replaces the calling thread's values with a snapshot taken by `SaveDecimalStack` (null:
/// empties the stack) and frees the snapshot.
void RestoreDecimalStack(std::unique_ptr<DecimalStack> snapshot);

// The operations on the current thread's stack, under the names generated code uses.

void DecPushInt32(int32_t value);
void DecPushUInt32(uint32_t value);
void DecPushFloat64(double value);
/// Pushes the number read from a zero-terminated text (null reads as empty).
void DecPushText(const char* text);
void DecLoadDecimal(const void* address, uint32_t size, uint32_t places);
void DecLoadPacked(const void* address, uint32_t size, uint32_t places);
void DecStoreDecimal(void* address, uint32_t size, uint32_t places);
void DecStorePacked(void* address, uint32_t size, uint32_t places);
void DecAdd();
void DecSubtract();
void DecSubtractReversed();
void DecMultiply();
void DecDivide();
void DecPower(int32_t n);
void DecNegate();
void DecAbs();
void DecDuplicate();
int DecCompare();
int DecIsNonZero();
void DecRound(int places);
int32_t DecPopInt32();
uint32_t DecPopUInt32();
double DecPopFloat64();

}  // namespace vel::values

#include "runtime/values/decimal_stack.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_float.h"
#include "runtime/values/decimal_storage.h"
#include "runtime/values/decimal_text.h"

namespace vel::values {
namespace {

// Each thread starts with a stack of its own; `t_current` points at it until the thread manager
// or a test installs another one.
thread_local DecimalStack t_ownStack;
thread_local DecimalStack* t_current = nullptr;

}  // namespace

DecimalEntry DecimalStack::Peek(int depth) const {
  if (depth < 0 || depth >= m_count) {
    return DecimalZero();
  }
  return UnpackDecimal(m_values[m_count - 1 - depth]);
}

DecimalValue& DecimalStack::TopSlot() {
  if (m_count == 0) {
    ++m_underflows;
    m_values[0] = ValueZero();
    m_count = 1;
  }
  return m_values[m_count - 1];
}

void DecimalStack::PushInt32(int32_t value) {
  const bool negative = value < 0;
  const uint64_t magnitude = negative ? 0u - static_cast<uint64_t>(static_cast<int64_t>(value)) : static_cast<uint64_t>(value);
  Push(ValueFromUInt64(magnitude, negative));
}

void DecimalStack::PushUInt32(uint32_t value) { Push(ValueFromUInt64(value, false)); }

void DecimalStack::PushFloat64(double value) { Push(DecimalFromFloat64(value)); }

void DecimalStack::PushText(const char* text, size_t length) { Push(ValueFromText(text, length)); }

void DecimalStack::LoadDecimal(const void* address, uint32_t size, uint32_t places) {
  Push(ReadDecimalStorage(address, size, places));
}

void DecimalStack::LoadPacked(const void* address, uint32_t size, uint32_t places) {
  Push(ReadPackedStorage(address, size, places));
}

void DecimalStack::StoreDecimal(void* address, uint32_t size, uint32_t places) {
  WriteDecimalStorage(address, size, places, PopEntry());
}

void DecimalStack::StorePacked(void* address, uint32_t size, uint32_t places) {
  WritePackedStorage(address, size, places, PopEntry());
}

void DecimalStack::BinaryShortOfOperands(InPlaceOperation operation) {
  const DecimalValue top = Pop();
  DecimalValue second = Pop();
  operation(second, top);
  Push(second);
}

void DecimalStack::SubtractReversedInto(DecimalValue& second, const DecimalValue& top) {
  DecimalValue difference = top;
  SubtractValues(difference, second);
  second = difference;
}

void DecimalStack::MultiplyInto(DecimalValue& second, const DecimalValue& top) { second = MultiplyValues(second, top); }

void DecimalStack::DivideInto(DecimalValue& second, const DecimalValue& top) { second = DivideValues(second, top); }

void DecimalStack::Power(int32_t n) {
  DecimalValue& top = TopSlot();
  top = PowerValue(top, n);
}

void DecimalStack::Negate() { NegateValue(TopSlot()); }

void DecimalStack::Abs() {
  DecimalValue& top = TopSlot();
  if (ValueIsNegative(top)) {
    NegateValue(top);
  }
}

void DecimalStack::Duplicate() { Push(m_count == 0 ? ValueZero() : m_values[m_count - 1]); }

int DecimalStack::Compare() {
  const DecimalValue top = Pop();
  const DecimalValue second = Pop();
  return CompareValues(second, top);
}

int DecimalStack::IsNonZero() { return ValueIsNonZero(Pop()) ? 1 : 0; }

void DecimalStack::Round(int places) { RoundValue(TopSlot(), places); }

int32_t DecimalStack::PopInt32() {
  const DecimalValue top = Pop();
  const uint32_t magnitude = IntegerPartModulo32(top);
  return static_cast<int32_t>(ValueIsNegative(top) ? 0u - magnitude : magnitude);
}

uint32_t DecimalStack::PopUInt32() { return IntegerPartModulo32(Pop()); }

double DecimalStack::PopFloat64() { return DecimalToFloat64(PopEntry()); }

size_t DecimalStack::PopText(char* buffer, size_t size) {
  char text[kMaxDecimalTextLength];
  const size_t length = DecimalToText(PopEntry(), text);
  if (buffer != nullptr) {
    std::memcpy(buffer, text, std::min(length, size));
  }
  return length;
}

DecimalStack& CurrentDecimalStack() {
  if (t_current == nullptr) {
    t_current = &t_ownStack;
  }
  return *t_current;
}

DecimalStack* ExchangeCurrentDecimalStack(DecimalStack* replacement) {
  DecimalStack* previous = &CurrentDecimalStack();
  t_current = replacement != nullptr ? replacement : &t_ownStack;
  return previous;
}

std::unique_ptr<DecimalStack> SaveDecimalStack() {
  DecimalStack& current = CurrentDecimalStack();
  if (current.Count() == 0) {
    return nullptr;
  }
  auto snapshot = std::make_unique<DecimalStack>(current);
  current.Clear();
  return snapshot;
}

void RestoreDecimalStack(std::unique_ptr<DecimalStack> snapshot) {
  DecimalStack& current = CurrentDecimalStack();
  if (snapshot == nullptr) {
    current.Clear();
    return;
  }
  current = *snapshot;
}

void DecPushInt32(int32_t value) { CurrentDecimalStack().PushInt32(value); }
void DecPushUInt32(uint32_t value) { CurrentDecimalStack().PushUInt32(value); }
void DecPushFloat64(double value) { CurrentDecimalStack().PushFloat64(value); }
void DecPushText(const char* text) { CurrentDecimalStack().PushText(text, text == nullptr ? 0 : std::strlen(text)); }
void DecLoadDecimal(const void* address, uint32_t size, uint32_t places) { CurrentDecimalStack().LoadDecimal(address, size, places); }
void DecLoadPacked(const void* address, uint32_t size, uint32_t places) { CurrentDecimalStack().LoadPacked(address, size, places); }
void DecStoreDecimal(void* address, uint32_t size, uint32_t places) { CurrentDecimalStack().StoreDecimal(address, size, places); }
void DecStorePacked(void* address, uint32_t size, uint32_t places) { CurrentDecimalStack().StorePacked(address, size, places); }
void DecAdd() { CurrentDecimalStack().Add(); }
void DecSubtract() { CurrentDecimalStack().Subtract(); }
void DecSubtractReversed() { CurrentDecimalStack().SubtractReversed(); }
void DecMultiply() { CurrentDecimalStack().Multiply(); }
void DecDivide() { CurrentDecimalStack().Divide(); }
void DecPower(int32_t n) { CurrentDecimalStack().Power(n); }
void DecNegate() { CurrentDecimalStack().Negate(); }
void DecAbs() { CurrentDecimalStack().Abs(); }
void DecDuplicate() { CurrentDecimalStack().Duplicate(); }
int DecCompare() { return CurrentDecimalStack().Compare(); }
int DecIsNonZero() { return CurrentDecimalStack().IsNonZero(); }
void DecRound(int places) { CurrentDecimalStack().Round(places); }
int32_t DecPopInt32() { return CurrentDecimalStack().PopInt32(); }
uint32_t DecPopUInt32() { return CurrentDecimalStack().PopUInt32(); }
double DecPopFloat64() { return CurrentDecimalStack().PopFloat64(); }

}  // namespace vel::values

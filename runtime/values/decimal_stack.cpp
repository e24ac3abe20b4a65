#include "runtime/values/decimal_stack.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/decimal_arithmetic.h"
#include "runtime/values/decimal_float.h"
#include "runtime/values/decimal_storage.h"
#include "runtime/values/decimal_text.h"

namespace vel::values {
namespace {

/// Low 32 bits of the integer part of the magnitude (positions 32 and up).
uint32_t IntegerPartModulo32(const DecimalEntry& entry) {
  uint32_t value = 0;
  for (int position = entry.high; position >= DecimalEntry::kUnits; --position) {
    value = value * 10u + entry.digits[position];
  }
  return value;
}

DecimalStack g_currentStack;

}  // namespace

DecimalEntry DecimalStack::Peek(int depth) const {
  if (depth < 0 || depth >= m_count) {
    return DecimalZero();
  }
  return m_entries[m_count - 1 - depth];
}

void DecimalStack::Push(const DecimalEntry& entry) {
  if (m_count == kCapacity) {
    return;
  }
  m_entries[m_count++] = entry;
}

DecimalEntry DecimalStack::Pop() {
  if (m_count == 0) {
    return DecimalZero();
  }
  return m_entries[--m_count];
}

DecimalEntry& DecimalStack::TopSlot() {
  if (m_count == 0) {
    m_entries[0] = DecimalZero();
    m_count = 1;
  }
  return m_entries[m_count - 1];
}

template <typename Operation>
void DecimalStack::Binary(Operation operation) {
  if (m_count >= 2) {
    // The common case works on the slots in place: no operand is copied.
    operation(m_entries[m_count - 2], m_entries[m_count - 1]);
    --m_count;
    return;
  }
  const DecimalEntry top = Pop();
  DecimalEntry second = Pop();
  operation(second, top);
  Push(second);
}

void DecimalStack::PushInt32(int32_t value) {
  const bool negative = value < 0;
  const uint64_t magnitude = negative ? 0u - static_cast<uint64_t>(static_cast<int64_t>(value)) : static_cast<uint64_t>(value);
  Push(DecimalFromUInt64(magnitude, negative));
}

void DecimalStack::PushUInt32(uint32_t value) { Push(DecimalFromUInt64(value, false)); }

void DecimalStack::PushFloat64(double value) { Push(DecimalFromFloat64(value)); }

void DecimalStack::PushText(const char* text, size_t length) { Push(DecimalFromText(text, length)); }

void DecimalStack::LoadDecimal(const void* address, uint32_t size, uint32_t places) {
  Push(ReadDecimalStorage(address, size, places));
}

void DecimalStack::LoadPacked(const void* address, uint32_t size, uint32_t places) {
  Push(ReadPackedStorage(address, size, places));
}

void DecimalStack::StoreDecimal(void* address, uint32_t size, uint32_t places) {
  WriteDecimalStorage(address, size, places, Pop());
}

void DecimalStack::StorePacked(void* address, uint32_t size, uint32_t places) {
  WritePackedStorage(address, size, places, Pop());
}

void DecimalStack::Add() {
  Binary([](DecimalEntry& second, const DecimalEntry& top) { AddDecimals(second, top); });
}

void DecimalStack::Subtract() {
  Binary([](DecimalEntry& second, const DecimalEntry& top) { SubtractDecimals(second, top); });
}

void DecimalStack::SubtractReversed() {
  Binary([](DecimalEntry& second, const DecimalEntry& top) {
    DecimalEntry difference = top;
    SubtractDecimals(difference, second);
    second = difference;
  });
}

void DecimalStack::Multiply() {
  Binary([](DecimalEntry& second, const DecimalEntry& top) { second = MultiplyDecimals(second, top); });
}

void DecimalStack::Divide() {
  Binary([](DecimalEntry& second, const DecimalEntry& top) { second = DivideDecimals(second, top); });
}

void DecimalStack::Power(int32_t n) {
  DecimalEntry& top = TopSlot();
  top = PowerDecimal(top, n);
}

void DecimalStack::Negate() {
  DecimalEntry& top = TopSlot();
  if (DecimalIsNonZero(top)) {
    top.sign ^= 1;
  }
}

void DecimalStack::Abs() { TopSlot().sign = 0; }

void DecimalStack::Duplicate() { Push(Peek()); }

int DecimalStack::Compare() {
  const DecimalEntry top = Pop();
  const DecimalEntry second = Pop();
  return CompareDecimals(second, top);
}

int DecimalStack::IsNonZero() { return DecimalIsNonZero(Pop()) ? 1 : 0; }

void DecimalStack::Round(int places) { RoundDecimal(TopSlot(), places); }

int32_t DecimalStack::PopInt32() {
  const DecimalEntry top = Pop();
  const uint32_t magnitude = IntegerPartModulo32(top);
  return static_cast<int32_t>(top.sign ? 0u - magnitude : magnitude);
}

uint32_t DecimalStack::PopUInt32() { return IntegerPartModulo32(Pop()); }

double DecimalStack::PopFloat64() { return DecimalToFloat64(Pop()); }

size_t DecimalStack::PopText(char* buffer, size_t size) {
  char text[kMaxDecimalTextLength];
  const size_t length = DecimalToText(Pop(), text);
  if (buffer != nullptr) {
    std::memcpy(buffer, text, std::min(length, size));
  }
  return length;
}

DecimalStack& CurrentDecimalStack() { return g_currentStack; }

std::unique_ptr<DecimalStack> SaveDecimalStack() {
  if (g_currentStack.Count() == 0) {
    return nullptr;
  }
  return std::make_unique<DecimalStack>(g_currentStack);
}

void RestoreDecimalStack(std::unique_ptr<DecimalStack> snapshot) {
  if (snapshot == nullptr) {
    g_currentStack.Clear();
    return;
  }
  g_currentStack = *snapshot;
}

void DecPushInt32(int32_t value) { g_currentStack.PushInt32(value); }
void DecPushUInt32(uint32_t value) { g_currentStack.PushUInt32(value); }
void DecPushFloat64(double value) { g_currentStack.PushFloat64(value); }
void DecPushText(const char* text) { g_currentStack.PushText(text, text == nullptr ? 0 : std::strlen(text)); }
void DecLoadDecimal(const void* address, uint32_t size, uint32_t places) { g_currentStack.LoadDecimal(address, size, places); }
void DecLoadPacked(const void* address, uint32_t size, uint32_t places) { g_currentStack.LoadPacked(address, size, places); }
void DecStoreDecimal(void* address, uint32_t size, uint32_t places) { g_currentStack.StoreDecimal(address, size, places); }
void DecStorePacked(void* address, uint32_t size, uint32_t places) { g_currentStack.StorePacked(address, size, places); }
void DecAdd() { g_currentStack.Add(); }
void DecSubtract() { g_currentStack.Subtract(); }
void DecSubtractReversed() { g_currentStack.SubtractReversed(); }
void DecMultiply() { g_currentStack.Multiply(); }
void DecDivide() { g_currentStack.Divide(); }
void DecPower(int32_t n) { g_currentStack.Power(n); }
void DecNegate() { g_currentStack.Negate(); }
void DecAbs() { g_currentStack.Abs(); }
void DecDuplicate() { g_currentStack.Duplicate(); }
int DecCompare() { return g_currentStack.Compare(); }
int DecIsNonZero() { return g_currentStack.IsNonZero(); }
void DecRound(int places) { g_currentStack.Round(places); }
int32_t DecPopInt32() { return g_currentStack.PopInt32(); }
uint32_t DecPopUInt32() { return g_currentStack.PopUInt32(); }
double DecPopFloat64() { return g_currentStack.PopFloat64(); }

}  // namespace vel::values

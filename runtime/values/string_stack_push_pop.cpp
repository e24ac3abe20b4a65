// The pushes and pops of the string stack: how values get onto the current thread's stack and
// back into string variables, numbers and owned blocks.
#include "runtime/values/string_stack.h"

#include <algorithm>

#include "runtime/values/byte_ops.h"
#include "runtime/values/number_text.h"
#include "runtime/values/string_slot_builders.h"

namespace vel::values {

using detail::AssignLength;
using detail::ClipSlot;
using detail::SetDetached;
using detail::SetOwned;
using detail::SetReference;

namespace {

// Pushes a number text written by a formatter: inline when it fits, which is always the case
// except for the longest exponential forms of a Float64.
void PushNumberText(const char* text, std::size_t length) {
  PushBytes(text, static_cast<std::uint32_t>(length));
}

// The top value of the current stack for an operation that pops it: read in place, and popped
// (its owned block freed) when the operation is done. An empty stack gives the empty value.
class PoppedTop {
 public:
  PoppedTop() : m_stack(CurrentStringStack()), m_top(m_stack.Top()) {}
  ~PoppedTop() {
    if (m_top != nullptr) m_stack.Drop(1);
  }
  PoppedTop(const PoppedTop&) = delete;
  PoppedTop& operator=(const PoppedTop&) = delete;

  StringSlot* operator->() { return m_top != nullptr ? m_top : &m_empty; }
  StringSlot& operator*() { return *operator->(); }

 private:
  StringStack& m_stack;
  StringSlot* m_top;
  StringSlot m_empty;
};

}  // namespace

void PushString(const char* data, std::uint32_t length) {
  if (StringSlot* slot = CurrentStringStack().Emplace()) SetReference(*slot, data, length);
}

void PushOwnedString(char* block, std::uint32_t length) {
  StringSlot* slot = CurrentStringStack().Emplace();
  if (slot == nullptr) {
    // The stack took the block over even though it had no room for it.
    FreeStringBlock(block);
    return;
  }
  SetOwned(*slot, block, length);
}

void PushEmpty() { CurrentStringStack().Emplace(); }

void PushCString(const char* text) {
  PushBytes(text, static_cast<std::uint32_t>(CStringLength(text)));
}

void PushBytes(const char* data, std::uint32_t length) {
  if (StringSlot* slot = CurrentStringStack().Emplace()) SetDetached(*slot, data, length);
}

void PushLong(std::int32_t value) {
  char text[kLongTextSize];
  PushNumberText(text, FormatLong(value, text));
}

void PushReal(double value) {
  char text[kRealTextSize];
  PushNumberText(text, FormatReal(value, text));
}

void PushFlag(std::int32_t value) {
  if (value != 0) {
    PushLong(1);
  } else {
    PushEmpty();
  }
}

void PopToFixed(char* destination, std::uint32_t size) {
  PoppedTop top;
  AssignFixed(destination, size, top->Bytes(), AssignLength(top->length));
}

void PopToCString(char* destination, std::uint32_t size) {
  PoppedTop top;
  AssignCString(destination, size, top->Bytes(), AssignLength(top->length));
}

void PopToPascal(char* destination, std::uint32_t size) {
  PoppedTop top;
  AssignPascal(destination, size, top->Bytes(), AssignLength(top->length));
}

void PopToOwned(OwnedString& destination) {
  PoppedTop top;
  destination = OwnedString{};
  if (top->kind == kOwnedString) {
    destination.data = const_cast<char*>(top->data);
    destination.length = top->length;
    // The block is the receiver's now; popping must not free it.
    SetReference(*top, nullptr, 0);
    return;
  }
  if (top->length == 0) return;
  char* block = AllocateStringBlock(top->length);
  if (block == nullptr) return;
  CopyBytes(block, top->Bytes(), top->length);
  destination.data = block;
  destination.length = top->length;
}

void FreeOwnedString(OwnedString& owned) {
  FreeStringBlock(owned.data);
  owned = OwnedString{};
}

std::uint32_t PopLength() {
  PoppedTop top;
  return top->length;
}

std::uint32_t TopLength() {
  const StringSlot* top = CurrentStringStack().Top();
  return top == nullptr ? 0 : top->length;
}

StringView TopView() {
  const StringSlot* top = CurrentStringStack().Top();
  return top == nullptr ? StringView{} : top->View();
}

void DropTop() { CurrentStringStack().Drop(1); }

double PopToReal() {
  PoppedTop top;
  ClipSlot(*top);
  return ParseReal(top->Bytes(), std::min<std::size_t>(top->length, kMaxRealInput));
}

int TestNonBlank() {
  PoppedTop top;
  ClipSlot(*top);
  return top->length > 0 ? 1 : 0;
}

}  // namespace vel::values

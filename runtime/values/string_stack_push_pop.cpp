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
using detail::DetachedSlot;
using detail::OwnedSlot;
using detail::ReferenceSlot;

namespace {

// Pushes a number text written by a formatter: inline when it fits, which is always the case
// except for the longest exponential forms of a Float64.
void PushNumberText(const char* text, std::size_t length) {
  CurrentStringStack().Push(DetachedSlot(text, static_cast<std::uint32_t>(length)));
}

}  // namespace

void PushString(const char* data, std::uint32_t length) {
  CurrentStringStack().Push(ReferenceSlot(data, length));
}

void PushOwnedString(char* block, std::uint32_t length) {
  CurrentStringStack().Push(OwnedSlot(block, length));
}

void PushEmpty() { CurrentStringStack().Push(StringSlot{}); }

void PushCString(const char* text) {
  PushBytes(text, static_cast<std::uint32_t>(CStringLength(text)));
}

void PushBytes(const char* data, std::uint32_t length) {
  StringStack& stack = CurrentStringStack();
  if (stack.Count() == StringStack::kCapacity) {
    // Let the stack see (and count) the refused push without copying anything first.
    stack.Push(StringSlot{});
    return;
  }
  stack.Push(DetachedSlot(data, length));
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
  StringSlot slot = CurrentStringStack().Pop();
  AssignFixed(destination, size, slot.Bytes(), AssignLength(slot.length));
  ReleaseStringSlot(slot);
}

void PopToCString(char* destination, std::uint32_t size) {
  StringSlot slot = CurrentStringStack().Pop();
  AssignCString(destination, size, slot.Bytes(), AssignLength(slot.length));
  ReleaseStringSlot(slot);
}

void PopToPascal(char* destination, std::uint32_t size) {
  StringSlot slot = CurrentStringStack().Pop();
  AssignPascal(destination, size, slot.Bytes(), AssignLength(slot.length));
  ReleaseStringSlot(slot);
}

void PopToOwned(OwnedString& destination) {
  StringSlot slot = CurrentStringStack().Pop();
  destination = OwnedString{};
  if (slot.kind == kOwnedString) {
    destination.data = const_cast<char*>(slot.data);
    destination.length = slot.length;
    return;
  }
  if (slot.length == 0) return;
  char* block = AllocateStringBlock(slot.length);
  if (block == nullptr) return;
  CopyBytes(block, slot.Bytes(), slot.length);
  destination.data = block;
  destination.length = slot.length;
}

void FreeOwnedString(OwnedString& owned) {
  FreeStringBlock(owned.data);
  owned = OwnedString{};
}

std::uint32_t PopLength() {
  StringSlot slot = CurrentStringStack().Pop();
  std::uint32_t length = slot.length;
  ReleaseStringSlot(slot);
  return length;
}

std::uint32_t TopLength() {
  const StringSlot* top = CurrentStringStack().Top();
  return top == nullptr ? 0 : top->length;
}

StringView TopView() {
  const StringSlot* top = CurrentStringStack().Top();
  return top == nullptr ? StringView{} : top->View();
}

void DropTop() {
  StringSlot slot = CurrentStringStack().Pop();
  ReleaseStringSlot(slot);
}

double PopToReal() {
  StringSlot slot = CurrentStringStack().Pop();
  ClipSlot(slot);
  std::size_t length = std::min<std::size_t>(slot.length, kMaxRealInput);
  double value = ParseReal(slot.Bytes(), length);
  ReleaseStringSlot(slot);
  return value;
}

int TestNonBlank() {
  StringSlot slot = CurrentStringStack().Pop();
  ClipSlot(slot);
  int nonBlank = slot.length > 0 ? 1 : 0;
  ReleaseStringSlot(slot);
  return nonBlank;
}

}  // namespace vel::values

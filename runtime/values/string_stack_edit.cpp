// The string stack operations that change, combine, reorder or compare values on the stack.
#include "runtime/values/string_stack.h"

#include "runtime/values/byte_ops.h"
#include "runtime/values/character_rules.h"
#include "runtime/values/string_compare.h"
#include "runtime/values/string_slot_builders.h"

namespace vel::values {

using detail::ClipSlot;
using detail::DetachedSlot;
using detail::OwnedSlot;

namespace {

// Pops top and second, pushes `first` followed by `second` of them as one owned value.
void Concatenate(bool secondFirst) {
  StringStack& stack = CurrentStringStack();
  StringSlot top = stack.Pop();
  StringSlot second = stack.Pop();
  const StringSlot& first = secondFirst ? second : top;
  const StringSlot& last = secondFirst ? top : second;
  std::uint64_t total = std::uint64_t{first.length} + last.length;
  char* block = nullptr;
  // A result too long to count, like a failed allocation, is the empty value.
  if (total > 0 && total <= UINT32_MAX) block = AllocateStringBlock(total);
  if (block != nullptr) {
    CopyBytes(block, first.Bytes(), first.length);
    CopyBytes(block + first.length, last.Bytes(), last.length);
  }
  ReleaseStringSlot(top);
  ReleaseStringSlot(second);
  if (block == nullptr) {
    stack.Push(StringSlot{});
  } else {
    stack.Push(OwnedSlot(block, static_cast<std::uint32_t>(total)));
  }
}

int CompareTopTwo(bool prefixOnly) {
  StringStack& stack = CurrentStringStack();
  StringSlot top = stack.Pop();
  StringSlot second = stack.Pop();
  StringView a = second.View();
  StringView b = top.View();
  int order = prefixOnly ? ComparePrefixStrings(a.data, a.length, b.data, b.length)
                         : CompareStrings(a.data, a.length, b.data, b.length);
  ReleaseStringSlot(top);
  ReleaseStringSlot(second);
  return order;
}

// Gives a `reference` slot a copy of its value of its own. Without memory for the copy the
// value stays a reference rather than being lost.
void DetachSlot(StringSlot& slot) {
  if (slot.kind != kReferenceString || slot.length == 0) return;
  StringSlot detached = DetachedSlot(slot.data, slot.length);
  if (detached.length == slot.length) slot = detached;
}

}  // namespace

void ClipTop() {
  StringSlot* top = CurrentStringStack().Top();
  if (top != nullptr) ClipSlot(*top);
}

void UpperTop() {
  StringSlot* top = CurrentStringStack().Top();
  if (top == nullptr) return;
  DetachSlot(*top);
  // A value left as a reference could not be detached (memory is exhausted); it still belongs
  // to its variable and must not be changed in place.
  if (top->kind == kReferenceString) return;
  char* bytes = top->kind == kInlineString ? top->inlineBuffer : const_cast<char*>(top->data);
  const CharacterRules& rules = CurrentCharacterRules();
  for (std::uint32_t i = 0; i < top->length; ++i) {
    bytes[i] = static_cast<char>(rules.Upper(static_cast<unsigned char>(bytes[i])));
  }
}

void FitTop(std::uint32_t width) {
  StringStack& stack = CurrentStringStack();
  StringSlot* top = stack.Top();
  if (top == nullptr) return;
  if (top->length >= width) {
    top->length = width;
    return;
  }
  char* block = AllocateStringBlock(width);
  if (block == nullptr) return;
  AssignFixed(block, width, top->Bytes(), detail::AssignLength(top->length));
  StringSlot old = stack.Pop();
  ReleaseStringSlot(old);
  stack.Push(OwnedSlot(block, width));
}

void DetachTop() {
  StringSlot* top = CurrentStringStack().Top();
  if (top != nullptr) DetachSlot(*top);
}

void RollUp(std::uint32_t depth) { CurrentStringStack().RollUp(depth); }

void ConcatAppend() { Concatenate(true); }

void ConcatPrepend() { Concatenate(false); }

int CompareFull() { return CompareTopTwo(false); }

int ComparePrefix() { return CompareTopTwo(true); }

}  // namespace vel::values

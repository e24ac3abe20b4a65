// The string stack operations that change, combine, reorder or compare values on the stack.
#include "runtime/values/string_stack.h"

#include "runtime/values/byte_ops.h"
#include "runtime/values/character_rules.h"
#include "runtime/values/string_compare.h"
#include "runtime/values/string_slot_builders.h"

namespace vel::values {

using detail::ClipSlot;
using detail::SetDetached;
using detail::SetReference;

namespace {

// The two operands of an operation that pops top and second, read in place; a missing operand
// reads as the empty value. `Finish` pops them, freeing the blocks they still own.
class PoppedPair {
 public:
  PoppedPair() : m_stack(CurrentStringStack()) {
    if (m_stack.Count() >= 2) {
      m_bothPresent = true;
      m_top = m_stack.Top();
      m_second = m_stack.Below(1);
      return;
    }
    if (m_stack.Count() == 1) {
      // Take the lone value off the stack, block and all, to work on it here.
      StringSlot* lone = m_stack.Top();
      m_lone = *lone;
      SetReference(*lone, nullptr, 0);
      m_top = &m_lone;
    }
    m_stack.Drop(2);  // counts the missing operand
  }
  PoppedPair(const PoppedPair&) = delete;
  PoppedPair& operator=(const PoppedPair&) = delete;

  StringSlot& Top() { return *m_top; }
  StringSlot& Second() { return *m_second; }
  StringStack& Stack() { return m_stack; }
  void Finish() {
    if (m_bothPresent) m_stack.Drop(2);
    m_bothPresent = false;
    ReleaseStringSlot(m_lone);
  }

 private:
  StringStack& m_stack;
  bool m_bothPresent = false;
  StringSlot m_empty;
  StringSlot m_lone;
  StringSlot* m_top = &m_empty;
  StringSlot* m_second = &m_empty;
};

// Pops top and second and pushes them joined as one owned value, second first when
// `secondFirst`, else top first.
void Concatenate(bool secondFirst) {
  PoppedPair operands;
  const StringSlot& first = secondFirst ? operands.Second() : operands.Top();
  const StringSlot& last = secondFirst ? operands.Top() : operands.Second();
  std::uint64_t total = std::uint64_t{first.length} + last.length;
  char* block = nullptr;
  // A result too long to count is treated like a failed allocation: the empty value.
  if (total > 0 && total <= UINT32_MAX) block = AllocateStringBlock(total);
  if (block != nullptr) {
    CopyBytes(block, first.Bytes(), first.length);
    CopyBytes(block + first.length, last.Bytes(), last.length);
  }
  operands.Finish();
  if (block == nullptr) {
    operands.Stack().Emplace();
  } else {
    PushOwnedString(block, static_cast<std::uint32_t>(total));
  }
}

int CompareTopTwo(bool prefixOnly) {
  PoppedPair operands;
  StringView a = operands.Second().View();
  StringView b = operands.Top().View();
  int order = prefixOnly ? ComparePrefixStrings(a.data, a.length, b.data, b.length)
                         : CompareStrings(a.data, a.length, b.data, b.length);
  operands.Finish();
  return order;
}

// Gives a `reference` slot a copy of its value of its own. Without memory for the copy the
// value stays a reference rather than being lost.
void DetachSlot(StringSlot& slot) {
  if (slot.kind != kReferenceString || slot.length == 0) return;
  StringSlot detached;
  if (SetDetached(detached, slot.data, slot.length)) slot = detached;
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
  stack.Drop(1);
  PushOwnedString(block, width);
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

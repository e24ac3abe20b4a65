// The string stack operations that change, combine, reorder or compare values on the stack.
#include "runtime/values/string_stack.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include "runtime/values/byte_ops.h"
#include "runtime/values/character_rules.h"
#include "runtime/values/string_compare.h"
#include "runtime/values/string_slot_builders.h"

namespace vel::values {

using detail::ClipSlot;
using detail::SetDetached;
using detail::SetOwned;
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
      m_top = &*m_lone;
    }
    m_stack.Drop(2);  // counts the missing operand
  }
  PoppedPair(const PoppedPair&) = delete;
  PoppedPair& operator=(const PoppedPair&) = delete;

  const StringSlot& Top() const { return *m_top; }
  const StringSlot& Second() const { return *m_second; }
  /// The second slot on the stack, to be changed in place; only when both are present.
  StringSlot& SecondOnStack() { return *m_second; }
  StringStack& Stack() { return m_stack; }
  bool BothPresent() const { return m_bothPresent; }
  /// Pops only the top: the second slot, changed in place, is the result.
  void KeepSecond() {
    m_stack.Drop(1);
    m_bothPresent = false;
  }
  void Finish() {
    if (m_bothPresent) m_stack.Drop(2);
    m_bothPresent = false;
    if (m_lone) ReleaseStringSlot(*m_lone);
  }

 private:
  // A missing operand reads as this value, which nothing changes.
  static const StringSlot kEmpty;

  StringStack& m_stack;
  bool m_bothPresent = false;
  std::optional<StringSlot> m_lone;
  const StringSlot* m_top = &kEmpty;
  StringSlot* m_second = const_cast<StringSlot*>(&kEmpty);
};

const StringSlot PoppedPair::kEmpty{};

// Copies one piece of a concatenation. Pieces are mostly short literals and clipped fields,
// for which two overlapping word moves beat a call to the general copy.
void CopyPiece(char* destination, const char* source, std::uint32_t length) {
  if (length >= 8 && length <= 16) {
    std::uint64_t head, tail;
    std::memcpy(&head, source, 8);
    std::memcpy(&tail, source + length - 8, 8);
    std::memcpy(destination, &head, 8);
    std::memcpy(destination + length - 8, &tail, 8);
  } else if (length < 8) {
    for (std::uint32_t i = 0; i < length; ++i) destination[i] = source[i];
  } else {
    CopyBytes(destination, source, length);
  }
}

// Concatenations up to this length get a block with room to grow.
constexpr std::uint64_t kLargestRoomyConcatenation = 64 * 1024;

// Appends the top to an owned second value inside the second's own block, grown (at least
// doubled) when the room after the value is too small, so that a string built up piece by
// piece is copied a logarithmic number of times rather than once per piece. False, changing
// nothing, when the top cannot be appended that way.
bool AppendInPlace(PoppedPair& operands) {
  if (!operands.BothPresent()) return false;
  StringSlot& second = operands.SecondOnStack();
  const StringSlot& top = operands.Top();
  if (second.kind != kOwnedString || second.data == nullptr) return false;
  const std::uint64_t total = std::uint64_t{second.length} + top.length;
  if (total == 0 || total > UINT32_MAX) return false;
  char* block = const_cast<char*>(second.data);
  // A reference into the second's own block would move with it when the block grows.
  const char* topBytes = top.Bytes();
  if (top.kind == kReferenceString && topBytes >= block && topBytes < block + second.capacity) return false;
  std::uint32_t capacity = second.capacity;
  if (total > capacity) {
    capacity = static_cast<std::uint32_t>(std::max<std::uint64_t>(total, std::min<std::uint64_t>(2 * std::uint64_t{capacity}, UINT32_MAX)));
    block = ResizeStringBlock(block, capacity);
    if (block == nullptr) return false;
    second.data = block;
    second.capacity = capacity;
  }
  CopyPiece(block + second.length, topBytes, top.length);
  second.length = static_cast<std::uint32_t>(total);
  operands.KeepSecond();
  return true;
}

// Pops top and second and pushes them joined as one owned value, second first when
// `secondFirst`, else top first.
void Concatenate(bool secondFirst) {
  PoppedPair operands;
  if (secondFirst && AppendInPlace(operands)) return;
  const StringSlot& first = secondFirst ? operands.Second() : operands.Top();
  const StringSlot& last = secondFirst ? operands.Top() : operands.Second();
  std::uint64_t total = std::uint64_t{first.length} + last.length;
  char* block = nullptr;
  // A concatenation is usually the start of a longer value, so its block gets room to grow
  // into (AppendInPlace); short of memory for that, it gets exactly what it needs.
  std::uint64_t capacity = total;
  // A result too long to count is treated like a failed allocation: the empty value.
  if (total > 0 && total <= UINT32_MAX) {
    if (total <= kLargestRoomyConcatenation) capacity = std::bit_ceil(2 * total);
    block = AllocateStringBlock(capacity);
    if (block == nullptr && capacity != total) {
      capacity = total;
      block = AllocateStringBlock(total);
    }
  }
  if (block != nullptr) {
    CopyPiece(block, first.Bytes(), first.length);
    CopyPiece(block + first.length, last.Bytes(), last.length);
  }
  operands.Finish();
  if (block == nullptr) {
    operands.Stack().Emplace();
  } else if (StringSlot* result = operands.Stack().Emplace()) {
    SetOwned(*result, block, static_cast<std::uint32_t>(total));
    result->capacity = static_cast<std::uint32_t>(capacity);
  } else {
    FreeStringBlock(block);
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

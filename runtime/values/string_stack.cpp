#include "runtime/values/string_stack.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace vel::values {

struct StringStackSnapshot {
  std::uint32_t count = 0;
  StringSlot slots[StringStack::kCapacity];
};

namespace {

std::atomic<std::uint64_t> g_underflowTotal{0};
std::atomic<std::uint64_t> g_overflowTotal{0};

// Each thread starts with a stack of its own; the current stack points at it until the thread
// manager or a test installs another one.
thread_local StringStack t_ownStack;

}  // namespace

char* AllocateStringBlock(std::size_t size) {
  return static_cast<char*>(std::malloc(size == 0 ? 1 : size));
}

void FreeStringBlock(char* block) { std::free(block); }

char* ResizeStringBlock(char* block, std::size_t size) {
  return static_cast<char*>(std::realloc(block, size == 0 ? 1 : size));
}

StringStack::~StringStack() { Clear(); }

void StringStack::Clear() {
  for (; m_count > 0; --m_count) ReleaseStringSlot(m_slots[m_count - 1]);
}

void StringStack::NoteUnderflow() {
  ++m_underflows;
  g_underflowTotal.fetch_add(1, std::memory_order_relaxed);
}

void StringStack::NoteOverflow() {
  ++m_overflows;
  g_overflowTotal.fetch_add(1, std::memory_order_relaxed);
}

void StringStack::RollUp(std::uint32_t depth) {
  if (depth == 0) return;
  if (depth >= m_count) {
    NoteUnderflow();
    return;
  }
  // Inline values are read through the slot itself, so moving whole slots moves them too.
  std::uint32_t top = m_count - 1;
  StringSlot saved = m_slots[top - depth];
  for (std::uint32_t position = top - depth; position < top; ++position) {
    m_slots[position] = m_slots[position + 1];
  }
  m_slots[top] = saved;
}

StringStackSnapshot* StringStack::TakeSnapshot() {
  if (m_count == 0) return nullptr;
  auto* snapshot = new (std::nothrow) StringStackSnapshot;
  if (snapshot == nullptr) {
    Clear();
    return nullptr;
  }
  snapshot->count = m_count;
  for (std::uint32_t i = 0; i < m_count; ++i) {
    snapshot->slots[i] = m_slots[i];
    m_slots[i] = StringSlot{};
  }
  m_count = 0;
  return snapshot;
}

void StringStack::Install(StringStackSnapshot* snapshot) {
  Clear();
  if (snapshot == nullptr) return;
  m_count = snapshot->count;
  for (std::uint32_t i = 0; i < m_count; ++i) m_slots[i] = snapshot->slots[i];
  delete snapshot;
}

constinit thread_local StringStack* detail::t_currentStringStack = nullptr;

StringStack& detail::InstallOwnStringStack() {
  t_currentStringStack = &t_ownStack;
  return t_ownStack;
}

StringStack* ExchangeCurrentStringStack(StringStack* replacement) {
  StringStack* previous = &CurrentStringStack();
  detail::t_currentStringStack = replacement != nullptr ? replacement : &t_ownStack;
  return previous;
}

std::uint64_t StringStackUnderflowTotal() {
  return g_underflowTotal.load(std::memory_order_relaxed);
}

std::uint64_t StringStackOverflowTotal() {
  return g_overflowTotal.load(std::memory_order_relaxed);
}

StringStackSnapshot* SaveStringStack() { return CurrentStringStack().TakeSnapshot(); }

void RestoreStringStack(StringStackSnapshot* snapshot) {
  CurrentStringStack().Install(snapshot);
}

void DiscardStringStackSnapshot(StringStackSnapshot* snapshot) {
  if (snapshot == nullptr) return;
  for (std::uint32_t i = 0; i < snapshot->count; ++i) ReleaseStringSlot(snapshot->slots[i]);
  delete snapshot;
}

}  // namespace vel::values

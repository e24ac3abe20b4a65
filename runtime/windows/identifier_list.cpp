#include "runtime/windows/identifier_list.h"

#include <utility>

#include "runtime/values/string_stack.h"

namespace vel::windows {
namespace {

constexpr std::size_t kGrowth = 4;

void AcceptFiles(HWND holder, bool accept) {
  if (holder != nullptr && IsWindow(holder)) DragAcceptFiles(holder, accept ? TRUE : FALSE);
}

}  // namespace

IdentifierList::IdentifierList(const IdentifierList& other) {
  if (other.m_count == 0) return;
  m_slots = std::make_unique<SharedText[]>(other.m_count);
  for (std::size_t i = 0; i < other.m_count; ++i) m_slots[i] = other.m_slots[i];
  m_count = other.m_count;
}

IdentifierList& IdentifierList::operator=(const IdentifierList& other) {
  if (this != &other) *this = IdentifierList(other);
  return *this;
}

IdentifierList::IdentifierList(IdentifierList&& other) noexcept
    : m_slots(std::move(other.m_slots)), m_count(std::exchange(other.m_count, 0)),
      m_free(std::exchange(other.m_free, 0)) {}

IdentifierList& IdentifierList::operator=(IdentifierList&& other) noexcept {
  m_slots = std::move(other.m_slots);
  m_count = std::exchange(other.m_count, 0);
  m_free = std::exchange(other.m_free, 0);
  return *this;
}

void IdentifierList::Set(std::size_t index, std::string_view text, HWND holder) {
  bool file = text == kFileDropIdentifier;
  if (index < m_count) {
    bool wasFile = m_slots[index].View() == kFileDropIdentifier;
    if (text.empty()) {
      RemoveAt(index);
    } else {
      m_slots[index] = SharedText(text);
    }
    if (wasFile && !file && !TakesFiles()) AcceptFiles(holder, false);
  } else {
    if (text.empty()) return;
    Append(SharedText(text));
  }
  if (file) AcceptFiles(holder, true);
}

void IdentifierList::Append(SharedText text) {
  if (m_free == 0) {
    auto grown = std::make_unique<SharedText[]>(m_count + kGrowth);
    for (std::size_t i = 0; i < m_count; ++i) grown[i] = std::move(m_slots[i]);
    m_slots = std::move(grown);
    m_free = kGrowth;
  }
  m_slots[m_count++] = std::move(text);
  --m_free;
}

void IdentifierList::RemoveAt(std::size_t index) {
  for (std::size_t i = index; i + 1 < m_count; ++i) m_slots[i] = std::move(m_slots[i + 1]);
  m_slots[--m_count] = SharedText();
  ++m_free;
  if (m_count == 0) Clear();
}

void IdentifierList::Clear() {
  m_slots.reset();
  m_count = 0;
  m_free = 0;
}

std::string_view IdentifierList::At(std::size_t index) const {
  return index < m_count ? m_slots[index].View() : std::string_view();
}

void PushIdentifierText(std::string_view text) {
  values::PushString(text.empty() ? "" : text.data(), static_cast<std::uint32_t>(text.size()));
}

void IdentifierList::PushAt(std::size_t index) const { PushIdentifierText(At(index)); }

bool IdentifierList::TakesFiles() const {
  for (const SharedText& text : Items()) {
    if (text.View() == kFileDropIdentifier) return true;
  }
  return false;
}

}  // namespace vel::windows

#include "runtime/windows/shared_text.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace vel::windows {

struct SharedText::Entry {
  std::string text;
  std::size_t holders = 0;
};

namespace {

// Controls of every runtime thread make and release identifiers, so the table has a lock of
// its own rather than relying on the runtime lock being held.
struct TextTable {
  std::mutex mutex;
  std::unordered_map<std::string_view, std::unique_ptr<SharedText::Entry>> entries;
};

TextTable& Table() {
  // Never destroyed: texts held by static objects may be released after the table would be.
  static auto* table = new TextTable;
  return *table;
}

}  // namespace

SharedText::SharedText(std::string_view text) {
  if (text.empty()) return;
  TextTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.entries.find(text);
  if (found == table.entries.end()) {
    auto entry = std::make_unique<Entry>();
    entry->text.assign(text);
    std::string_view key = entry->text;
    found = table.entries.emplace(key, std::move(entry)).first;
  }
  m_entry = found->second.get();
  ++m_entry->holders;
}

SharedText::SharedText(const SharedText& other) : m_entry(other.m_entry) {
  if (m_entry == nullptr) return;
  std::lock_guard lock(Table().mutex);
  ++m_entry->holders;
}

SharedText& SharedText::operator=(SharedText other) noexcept {
  std::swap(m_entry, other.m_entry);
  return *this;
}

SharedText::~SharedText() {
  if (m_entry == nullptr) return;
  TextTable& table = Table();
  std::lock_guard lock(table.mutex);
  if (--m_entry->holders == 0) table.entries.erase(std::string_view(m_entry->text));
}

std::string_view SharedText::View() const { return m_entry != nullptr ? std::string_view(m_entry->text) : std::string_view(); }

std::size_t SharedText::Holders() const {
  if (m_entry == nullptr) return 0;
  std::lock_guard lock(Table().mutex);
  return m_entry->holders;
}

std::size_t SharedText::StoredTexts() {
  TextTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.entries.size();
}

}  // namespace vel::windows

#pragma once
// A shared, reference-counted text: every holder of the same text holds one stored copy, which
// goes when its last holder lets it go. Drag-and-drop identifiers, the matched identifier and
// the dropped text are held this way.

#include <cstddef>
#include <string_view>

namespace vel::windows {

class SharedText {
 public:
  /// No text.
  SharedText() = default;
  /// The stored copy of `text`, made when no holder has it yet; an empty text makes no text.
  explicit SharedText(std::string_view text);
  SharedText(const SharedText& other);
  SharedText(SharedText&& other) noexcept : m_entry(other.m_entry) { other.m_entry = nullptr; }
  SharedText& operator=(SharedText other) noexcept;
  ~SharedText();

  /// The text; empty when there is none.
  std::string_view View() const;
  bool Empty() const { return m_entry == nullptr; }
  /// How many holders the stored copy has (0 for no text).
  std::size_t Holders() const;
  /// True when both hold the same stored copy (or both hold none).
  bool SameAs(const SharedText& other) const { return m_entry == other.m_entry; }

  /// How many distinct texts are stored now.
  static std::size_t StoredTexts();

  struct Entry;

 private:
  Entry* m_entry = nullptr;
};

}  // namespace vel::windows

#pragma once
// An ordered list of drag-and-drop identifiers: a list control's drag identifiers, or the drop
// identifiers of a control or a window. The array grows four slots at a time and an empty
// list has none; the texts are shared with every other holder of the same identifier.

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

#include "runtime/windows/shared_text.h"
#include "win32.h"

namespace vel::windows {

/// The drop identifier that takes files dropped from the desktop's file manager.
inline constexpr std::string_view kFileDropIdentifier = "~FILE";

/// Pushes an identifier's text (or any text the drag state holds) onto the string stack.
void PushIdentifierText(std::string_view text);

class IdentifierList {
 public:
  IdentifierList() = default;
  /// A copy: every text gains a holder.
  IdentifierList(const IdentifierList& other);
  IdentifierList& operator=(const IdentifierList& other);
  IdentifierList(IdentifierList&& other) noexcept;
  IdentifierList& operator=(IdentifierList&& other) noexcept;
  /// Every text loses a holder and the array goes.
  ~IdentifierList() = default;

  /// Sets the identifier at `index`. An empty `text` removes the entry there (later entries
  /// move down; nothing happens beyond the end); a non-empty one replaces it, or is appended
  /// when `index` is at or beyond the count. Adding "~FILE" registers `holder` (when it is a
  /// window) for files from the file manager; removing it unregisters it.
  void Set(std::size_t index, std::string_view text, HWND holder);
  /// Appends every text of `texts`, in order.
  template <typename Texts>
  void AppendAll(const Texts& texts, HWND holder) {
    for (const auto& text : texts) Set(m_count, text, holder);
  }
  /// The identifier at `index`, or the empty text at or beyond the count.
  std::string_view At(std::size_t index) const;
  /// Pushes the identifier at `index` (or the empty text) onto the string stack.
  void PushAt(std::size_t index) const;
  /// Releases every text and frees the array.
  void Clear();

  std::span<const SharedText> Items() const { return {m_slots.get(), m_count}; }
  std::size_t Count() const { return m_count; }
  bool Empty() const { return m_count == 0; }
  /// Slots in the array, used and free.
  std::size_t Capacity() const { return m_count + m_free; }
  bool HasArray() const { return m_slots != nullptr; }
  /// True when one of the identifiers is "~FILE".
  bool TakesFiles() const;

 private:
  void RemoveAt(std::size_t index);
  void Append(SharedText text);

  std::unique_ptr<SharedText[]> m_slots;
  std::size_t m_count = 0;
  std::size_t m_free = 0;
};

}  // namespace vel::windows

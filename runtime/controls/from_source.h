#pragma once
// The rows of a list taken from a literal FROM string: the string is split at each single "|",
// a doubled "||" stands for one "|" inside an item, the last item runs to the end of the string
// and an empty string gives no items.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vel::controls {

/// The items of a FROM string, in order.
std::vector<std::string> SplitFromString(std::string_view text);

/// The ordered collection a list shows its rows from.
class FromSource {
 public:
  FromSource() = default;
  explicit FromSource(std::string_view text) : m_items(SplitFromString(text)) {}

  std::size_t Count() const { return m_items.size(); }
  /// The text of item `index`; an index out of range gives an empty text.
  const std::string& Item(std::size_t index) const;

 private:
  std::vector<std::string> m_items;
};

}  // namespace vel::controls

#include "runtime/controls/from_source.h"

namespace vel::controls {

std::vector<std::string> SplitFromString(std::string_view text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  std::string item;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '|') {
      item += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '|') {
      item += '|';
      ++i;
    } else {
      items.push_back(std::move(item));
      item.clear();
    }
  }
  items.push_back(std::move(item));
  return items;
}

const std::string& FromSource::Item(std::size_t index) const {
  static const std::string kNone;
  return index < m_items.size() ? m_items[index] : kNone;
}

}  // namespace vel::controls

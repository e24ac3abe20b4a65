#include "runtime/windows/resource_source.h"

#include <algorithm>

#include "runtime/windows/resource_names.h"

namespace vel::windows {

void MemoryResourceSource::Add(HMODULE module, std::string name, std::vector<std::uint8_t> bytes) {
  if (std::find(m_order.begin(), m_order.end(), module) == m_order.end()) m_order.push_back(module);
  m_resources[{module, UpperCase(name)}] = std::move(bytes);
}

std::optional<std::span<const std::uint8_t>> MemoryResourceSource::FindDefinitionResource(
    HMODULE module, std::string_view name) const {
  // Resource names compare without regard to case, as the platform's do.
  auto found = m_resources.find(std::pair<HMODULE, std::string>{module, UpperCase(name)});
  if (found == m_resources.end()) return std::nullopt;
  return std::span<const std::uint8_t>(found->second);
}

}  // namespace vel::windows

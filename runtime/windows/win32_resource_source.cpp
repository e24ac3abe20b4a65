#include "runtime/windows/win32_resource_source.h"

#include <string>

#include "runtime/windows/module_search_order.h"

namespace vel::windows {

std::vector<HMODULE> Win32ResourceSource::SearchOrder() const { return DefinitionSearchOrder(m_modules); }

std::optional<std::span<const std::uint8_t>> Win32ResourceSource::FindDefinitionResource(
    HMODULE module, std::string_view name) const {
  const std::string resourceName(name);
  HRSRC found = FindResourceA(module, resourceName.c_str(), kDefinitionResourceType);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return std::nullopt;
  const void* bytes = LockResource(loaded);
  DWORD size = SizeofResource(module, found);
  if (bytes == nullptr) return std::nullopt;
  return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size);
}

}  // namespace vel::windows

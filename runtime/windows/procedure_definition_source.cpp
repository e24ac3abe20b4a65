#include "runtime/windows/procedure_definition_source.h"

#include <string>

#include "runtime/windows/module_search_order.h"

namespace vel::windows {

std::vector<HMODULE> ModuleResourceSource::SearchOrder() const {
  return DefinitionSearchOrder(services::ProcessModules());
}

std::optional<std::span<const std::uint8_t>> ModuleResourceSource::FindDefinitionResource(
    HMODULE module, std::string_view name) const {
  std::string resourceName(name);
  HRSRC found = FindResourceA(module, resourceName.c_str(), kDefinitionResourceType);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found));
}

const ResourceSource& ProgramDefinitionSource() {
  static const ModuleResourceSource source;
  return source;
}

CurrentDefinition& CurrentDefinitionBuffer() {
  static CurrentDefinition buffer;
  return buffer;
}

}  // namespace vel::windows

#pragma once
// The program's own window definitions: the resources of type "VIZORAR" of the program's
// modules, and the one current-definition buffer windows are built from.

#include "runtime/windows/current_definition.h"
#include "runtime/windows/resource_source.h"

namespace vel::windows {

/// Definition resources read from the program's modules through the platform's resource calls.
class ModuleResourceSource final : public ResourceSource {
 public:
  std::vector<HMODULE> SearchOrder() const override;
  std::optional<std::span<const std::uint8_t>> FindDefinitionResource(HMODULE module,
                                                                      std::string_view name) const override;
};

/// The source windows are opened from unless another is set.
const ResourceSource& ProgramDefinitionSource();

/// The buffer holding the definition of the window being built.
CurrentDefinition& CurrentDefinitionBuffer();

}  // namespace vel::windows

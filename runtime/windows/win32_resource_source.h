#pragma once
// Window definition resources read from the program's modules through the platform's resource
// calls.

#include "runtime/services/module_list.h"
#include "runtime/windows/resource_source.h"

namespace vel::windows {

/// Looks definitions up in the modules of a runtime module list (the process's own list unless
/// another is given), with FindResourceA for type "VIZORAR", LoadResource, LockResource and
/// SizeofResource. Resources stay loaded for the life of their module, so the bytes handed
/// out stay valid.
class Win32ResourceSource final : public ResourceSource {
 public:
  explicit Win32ResourceSource(services::ModuleList& modules = services::ProcessModules()) : m_modules(modules) {}

  std::vector<HMODULE> SearchOrder() const override;
  std::optional<std::span<const std::uint8_t>> FindDefinitionResource(HMODULE module,
                                                                      std::string_view name) const override;

 private:
  services::ModuleList& m_modules;
};

}  // namespace vel::windows

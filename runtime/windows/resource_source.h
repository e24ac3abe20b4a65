#pragma once
// Where window definition resources come from. The lookup asks a resource source for the
// modules to search and for one resource's bytes; the program's resources back it at run time,
// tests back it with bytes held in memory.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "win32.h"

namespace vel::windows {

/// The resource type of window definitions.
inline constexpr const char kDefinitionResourceType[] = "VIZORAR";

/// Modules and their definition resources.
class ResourceSource {
 public:
  virtual ~ResourceSource() = default;

  /// The modules to search, in order: the program's own module first, then the other runtime
  /// modules in list order.
  virtual std::vector<HMODULE> SearchOrder() const = 0;

  /// The bytes of the resource `name` of type "VIZORAR" in `module`, or empty when the module
  /// has none. The bytes stay valid at least until the next call.
  virtual std::optional<std::span<const std::uint8_t>> FindDefinitionResource(HMODULE module,
                                                                              std::string_view name) const = 0;
};

/// A resource source whose modules and resources are held in memory.
class MemoryResourceSource final : public ResourceSource {
 public:
  /// Appends a module to the search order (if new) and gives it the resource `name`.
  void Add(HMODULE module, std::string name, std::vector<std::uint8_t> bytes);

  std::vector<HMODULE> SearchOrder() const override { return m_order; }
  std::optional<std::span<const std::uint8_t>> FindDefinitionResource(HMODULE module,
                                                                      std::string_view name) const override;

 private:
  std::vector<HMODULE> m_order;
  std::map<std::pair<HMODULE, std::string>, std::vector<std::uint8_t>, std::less<>> m_resources;
};

}  // namespace vel::windows

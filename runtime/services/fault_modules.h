#pragma once
// The fault report's module list: the loaded modules as the image-help library enumerates them,
// kept in a fixed table so that the call stack can name the module of each code address; or,
// without that library, the runtime's own registered modules, noted down before any fault.

#include <cstddef>
#include <cstdint>

#include "runtime/services/module_list.h"
#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {

/// One loaded module: where it starts in memory, how long it is and its file name (the name
/// stays owned by whoever listed the module).
struct LoadedModule {
  std::uint64_t base = 0;
  std::uint64_t size = 0;
  const char* name = nullptr;
};

/// The modules listed by the last WriteModuleListBlock.
class LoadedModuleTable {
 public:
  static constexpr std::size_t kCapacity = 256;

  void Clear() { m_count = 0; }
  /// Keeps a module; beyond kCapacity modules are listed in the report but not kept.
  void Add(const LoadedModule& module);
  std::size_t Count() const { return m_count; }
  /// The module holding `address`, or null.
  const LoadedModule* Find(std::uint64_t address) const;

 private:
  LoadedModule m_modules[kCapacity];
  std::size_t m_count = 0;
};

/// The runtime's registered modules with their file names, noted down ahead of a fault (finding
/// a module's name may take the platform's locks, which a fault handler must not).
class RegisteredModuleSnapshot {
 public:
  static constexpr std::size_t kCapacity = 16;

  /// Notes down the registered modules (instance handle and file name), first first.
  void Take(ModuleList& modules);
  void Clear() { m_count = 0; }
  std::size_t Count() const { return m_count; }

  struct Entry {
    HINSTANCE instance;
    char fileName[MAX_PATH];
  };
  const Entry& At(std::size_t index) const { return m_entries[index]; }

 private:
  Entry m_entries[kCapacity];
  std::size_t m_count = 0;
};

/// "Loaded Module List:" with a line per module. With an enumeration function (from the
/// image-help library), every module it lists, as "base-end name", also kept in `table`; when
/// it is null or lists nothing, the registered modules as "instance: name".
void WriteModuleListBlock(HFILE file, PENUMERATE_LOADED_MODULES64 enumerate, LoadedModuleTable& table,
                          const RegisteredModuleSnapshot& registered);

}  // namespace vel::services

#pragma once
// Platform-internal module records. An HMODULE points at one of these; the process's own module
// is always present, further modules (the runtime's resource modules) register themselves.

#include <cstddef>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

struct ResourceEntry;

struct ModuleRecord {
  /// Full path: the executable for the process's module, the executable's directory plus the
  /// module's name for a registered one.
  std::string fileName;
  /// The resource tables registered with the module, in registration order.
  struct Table {
    const ResourceEntry* entries;
    size_t count;
  };
  std::vector<Table> resourceTables;
};

/// The module of the running executable; its file name is the executable's path.
ModuleRecord& ProcessModule();

/// Absolute path of the running executable, read once.
const std::string& ProcessImagePath();

/// The module whose file name (without directory) matches, case-insensitively: the process's
/// own or a registered one. Null with ERROR_MOD_NOT_FOUND otherwise.
HMODULE FindModuleByName(const char* name);

/// The record behind a module handle (null means the process's module); null for a handle that
/// names no module.
ModuleRecord* ModuleFromHandle(HMODULE module);

/// Every module: the process's own first, then the registered ones in registration order.
std::vector<HMODULE> AllModules();

/// The registered module of that name, created on first use (null or "" is the process's).
HMODULE ModuleNamed(const char* name);

}  // namespace vel::platform

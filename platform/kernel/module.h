#pragma once
// Platform-internal module records. An HMODULE points at one of these; the process's own module
// is always present, further modules (the runtime's resource modules) register themselves.

#include <string>

#include "win32.h"

namespace vel::platform {

struct ModuleRecord {
  std::string fileName;
  const void* resources;
};

/// The module of the running executable; its file name is the executable's path.
ModuleRecord& ProcessModule();

/// Absolute path of the running executable, read once.
const std::string& ProcessImagePath();

/// The registered module whose file name (without directory) matches, case-insensitively.
HMODULE FindModuleByName(const char* name);

}  // namespace vel::platform

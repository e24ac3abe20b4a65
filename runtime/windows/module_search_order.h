#pragma once
// The order in which window definitions are looked for across the program's modules.

#include <vector>

#include "runtime/services/module_list.h"
#include "win32.h"

namespace vel::windows {

/// The program's own module first, then every other registered runtime module in list order.
/// Before any module is registered, the process's own module alone.
std::vector<HMODULE> DefinitionSearchOrder(services::ModuleList& modules);

}  // namespace vel::windows

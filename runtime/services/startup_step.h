#pragma once
// The start-up step: every registered module's data areas go to the data-area registry, which
// then makes its start-up pass.

#include "runtime/services/data_area_registry.h"
#include "runtime/services/module_list.h"

namespace vel::services {

/// Hands each module's second data area (without a copy) and global data area (with a copy of
/// its present contents) to the registry, then starts the registry's pass.
void HandModuleDataAreas(ModuleList& modules, DataAreaRegistry& registry);

/// The process's start-up step, on ProcessModules() and ProcessDataAreas(); it runs once per
/// process and returns whether it ran now.
bool RunStartUpStep();

}  // namespace vel::services

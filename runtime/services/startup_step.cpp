#include "runtime/services/startup_step.h"

namespace vel::services {

void HandModuleDataAreas(ModuleList& modules, DataAreaRegistry& registry) {
  ModuleDataAreas areas;
  for (bool found = modules.FirstDataAreas(areas); found; found = modules.NextDataAreas(areas)) {
    registry.Register(areas.secondDataStart, areas.secondDataLength, false);
    registry.Register(areas.globalDataStart, areas.globalDataLength, true);
  }
  registry.RunStartUpPass();
}

bool RunStartUpStep() {
  static bool done = false;
  if (done) return false;
  done = true;
  HandModuleDataAreas(ProcessModules(), ProcessDataAreas());
  return true;
}

}  // namespace vel::services

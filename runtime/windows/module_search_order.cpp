#include "runtime/windows/module_search_order.h"

namespace vel::windows {

std::vector<HMODULE> DefinitionSearchOrder(services::ModuleList& modules) {
  HMODULE program = modules.ProgramInstance();
  if (program == nullptr) program = GetModuleHandleA(nullptr);
  std::vector<HMODULE> order{program};
  for (HINSTANCE module = modules.Next(nullptr); module != nullptr; module = modules.Next(module)) {
    if (module != program) order.push_back(module);
  }
  return order;
}

}  // namespace vel::windows

#include "runtime/services/program_entry.h"

#include <cfenv>

#include "runtime/services/exit_sequence.h"
#include "runtime/services/fault_handler_frame.h"
#include "runtime/services/fault_reporter.h"
#include "runtime/services/module_list.h"
#include "runtime/services/shutdown_step.h"
#include "runtime/services/startup_step.h"

namespace vel::services {
namespace {

constexpr int kNormalExit = 0;
constexpr int kFatalExit = 2;

}  // namespace

void ResetFloatingPointUnit() { std::fesetenv(FE_DFL_ENV); }

int RunProgram(ModuleDescriptor& module, const RequestedVersion& version, MainProcedure mainProcedure) {
  ResetFloatingPointUnit();
  if (!RegisterModule(&module, nullptr)) {
    // Without its module none of the program's services were initialised; running it would
    // only fault later.
    MessageBoxA(nullptr, "The program's module descriptor is not valid", kRuntimeLibraryCaption,
                MB_OK | MB_ICONSTOP);
    return kFatalExit;
  }
  if (!CheckRuntimeVersion(version)) return kNormalExit;
  InstallFaultHandlerFrame();
  RunStartUpStep();
  if (mainProcedure != nullptr) mainProcedure();
  RunShutdownStep();
  return kNormalExit;
}

void ProgramEntry(ModuleDescriptor& module, const RequestedVersion& version, MainProcedure mainProcedure) {
  ConnectFaultReporter();
  Exit(static_cast<UINT>(RunProgram(module, version, mainProcedure)));
}

}  // namespace vel::services

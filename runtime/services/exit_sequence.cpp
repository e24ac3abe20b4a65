#include "runtime/services/exit_sequence.h"

#include <atomic>
#include <vector>

#include "runtime/services/fault_handler_frame.h"
#include "runtime/services/module_list.h"

namespace vel::services {
namespace {

std::vector<ExitRoutine> g_exitRoutines;
// Exit may be reached from any thread (a fatal error, a fault), so the guard is atomic.
std::atomic<bool> g_exitStarted{false};

}  // namespace

void PushExitRoutine(ExitRoutine routine) {
  if (routine != nullptr) g_exitRoutines.push_back(routine);
}

bool RunExitSequence() {
  // The guard is set first: a routine or terminator that ends the program again (a runtime
  // error during termination) only ends the process.
  if (g_exitStarted.exchange(true)) return false;
  while (!g_exitRoutines.empty()) {
    ExitRoutine routine = g_exitRoutines.back();
    g_exitRoutines.pop_back();
    routine();
  }
  TerminateModule(ProgramInstance());
  return true;
}

bool ExitSequenceStarted() { return g_exitStarted.load(); }

void Exit(UINT exitCode) {
  RunExitSequence();
  UnlinkFaultHandlerFrame();
  ExitProcess(exitCode);
}

}  // namespace vel::services

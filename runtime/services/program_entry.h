#pragma once
// The path from the process's entry to its end: reset the floating-point unit, register the
// program's module, check the runtime version, install the fault handler frame, run the
// start-up step, call the main procedure, shut down and exit.

#include "runtime/services/module_descriptor.h"
#include "runtime/services/runtime_version.h"

namespace vel::services {

/// The application's main procedure; it returns when its window has closed.
using MainProcedure = void (*)();

/// Puts the floating-point environment back to its defaults (rounding to nearest, exceptions
/// masked, flags clear).
void ResetFloatingPointUnit();

/// Runs the program up to (not including) the exit: every step from the floating-point reset
/// to the shutdown step. Returns the exit code: 0, also when the version check refused the
/// runtime (the main procedure is then not called); 2 when the module could not be registered.
int RunProgram(ModuleDescriptor& module, const RequestedVersion& version, MainProcedure mainProcedure);

/// The program entry: connects the fault reporter to the fault handler frame (unless hooks of
/// its own are set), RunProgram, then Exit with its code. Never returns.
[[noreturn]] void ProgramEntry(ModuleDescriptor& module, const RequestedVersion& version,
                               MainProcedure mainProcedure);

}  // namespace vel::services

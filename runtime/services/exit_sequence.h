#pragma once
// Ending the program: the exit routine stack, the terminators of the program's module and the
// end of the process, run at most once however often Exit is called.

#include "win32.h"

namespace vel::services {

/// A routine run by the exit sequence.
using ExitRoutine = void (*)();

/// Pushes a routine onto the exit routine stack; the sequence runs the most recent first. A
/// null routine is ignored.
void PushExitRoutine(ExitRoutine routine);

/// Runs the exit sequence unless it has run (or is running) already: pops and runs the exit
/// routines, most recent first, then terminates the program's module. Returns whether it ran
/// now.
bool RunExitSequence();

/// Whether the exit sequence has started.
bool ExitSequenceStarted();

/// Runs the exit sequence (once per process), removes the fault handler frame and ends the
/// process with the exit code: 0 for a normal end or a refused runtime version, 2 after a
/// fatal runtime error.
[[noreturn]] void Exit(UINT exitCode);

}  // namespace vel::services

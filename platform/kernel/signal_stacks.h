#pragma once
// Per-thread facts the fault dispatcher needs while a signal is being handled, prepared before:
// an alternate signal stack, so that a thread that has run out of stack can still run the
// handler, and the bounds of the thread's own stack, which tell a stack overflow from any other
// access violation. Asking the threads library for the bounds inside a handler could allocate.

#include <cstdint>

namespace vel::platform {

/// Gives the calling thread an alternate signal stack, unless it already has one, and records
/// its stack bounds. The stack is released when the thread ends.
void PrepareThreadForFaults();

/// The calling thread's stack bounds as recorded by PrepareThreadForFaults; both 0 when the
/// thread was not prepared. Safe in a signal handler.
void PreparedStackBounds(std::uintptr_t& low, std::uintptr_t& high);

}  // namespace vel::platform

#pragma once
// The fault probe's own operator new, standing in for an allocator with a lock: it can fault
// while holding its lock, and it ends the program with code 99 if it is then entered again on
// the same thread, which is what a fault handler that allocates would do (and hang on a real
// allocator). Without it (in the sanitizer build, whose allocator owns operator new) the
// scenario faults without the lock.

namespace vel::testing {

/// The next allocation faults while the allocator's lock is held.
void FaultInsideTheNextAllocation();

}  // namespace vel::testing

#pragma once
// Waiting on kernel objects, on WaitHub. user32's MsgWaitForMultipleObjects builds on
// WaitForObjects by passing a test for its message queue as `alsoReady`.

#include <functional>

#include "win32.h"

namespace vel::platform {

/// Waits until one (or, with `waitAll`, every) object is signalled, `alsoReady()` returns true,
/// or `milliseconds` pass (INFINITE waits for ever). A satisfied wait acquires the objects it
/// returns for (semaphore counts, auto-reset events) atomically. `alsoReady` runs with
/// WaitHub's mutex held and must not take it again.
/// Returns WAIT_OBJECT_0 + index, WAIT_OBJECT_0 + count when `alsoReady` ended the wait,
/// WAIT_TIMEOUT, or WAIT_FAILED with the last error set (bad handle, count 0 or above
/// MAXIMUM_WAIT_OBJECTS, an object that cannot be waited on).
DWORD WaitForObjects(const HANDLE* handles, DWORD count, bool waitAll, DWORD milliseconds,
                     const std::function<bool()>& alsoReady = {});

}  // namespace vel::platform

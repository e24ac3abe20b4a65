#pragma once
// What a wait needs from a kernel object: whether it is signalled now, and taking the signal
// (a semaphore's count, an auto-reset event). Both are called with the WaitHub lock held, and
// an object announces every change of its state with WaitHub::NotifyLocked.

#include "win32.h"

namespace vel::platform {

class Waitable {
 public:
  virtual ~Waitable() = default;
  /// WaitHub lock held.
  virtual bool IsSignalledLocked() const = 0;
  /// Takes the signal a satisfied wait consumes. WaitHub lock held.
  virtual void ConsumeLocked() = 0;
};

/// Makes a handle name a waitable object (until unregistered).
void RegisterWaitableHandle(HANDLE handle, Waitable* object);
void UnregisterWaitableHandle(HANDLE handle);
/// The object behind a handle, or null when the handle names no waitable object.
Waitable* WaitableFromHandle(HANDLE handle);

}  // namespace vel::platform

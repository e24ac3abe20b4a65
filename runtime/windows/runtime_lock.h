#pragma once
// The runtime lock: a semaphore with a count of one that serialises all runtime work. A thread
// holds it while its procedure code runs and gives it up only while it waits for messages.
// Waiting for it never blocks messages sent from other threads: they are handled while the
// thread waits, so two threads that send to each other's windows cannot deadlock.

#include "win32.h"

namespace vel::windows {

/// Takes the lock: waits on the semaphore with MsgWaitForMultipleObjects (wake mask
/// QS_SENDMESSAGE), letting sent messages be processed while it waits, then records the
/// calling thread as the owner.
void AcquireRuntimeLock();

/// Clears the owner and releases the semaphore. Does nothing when the calling thread does not
/// own the lock, so an unbalanced release cannot let two threads in.
void ReleaseRuntimeLock();

/// The owning thread's id, 0 when the lock is free.
DWORD RuntimeLockOwner();
bool CallingThreadOwnsRuntimeLock();

/// Entry of a runtime window procedure. While threads are active the handler takes the lock
/// for the duration of the message, unless the calling thread already owns it or is handling
/// a message sent from another thread (whose sender holds the lock on its behalf). It waits in
/// steps of 10 milliseconds, handling sent messages between steps. The loaded thread context
/// is switched to the calling thread's slot and switched back at the end.
class WindowProcedureLock {
 public:
  WindowProcedureLock();
  ~WindowProcedureLock();
  WindowProcedureLock(const WindowProcedureLock&) = delete;
  WindowProcedureLock& operator=(const WindowProcedureLock&) = delete;

  /// True when this entry took the lock (and will release it).
  bool Taken() const { return m_taken; }

 private:
  bool m_taken = false;
  int m_savedCurrent = -1;
  int m_savedLoaded = -1;
};

}  // namespace vel::windows

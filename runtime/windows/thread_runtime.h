#pragma once
// Runtime threads: entering the runtime from a thread, starting a thread that runs procedure
// code, the wait for the other threads at program end, blocking platform calls and waking a
// thread's ACCEPT loop.

#include <functional>

#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// Makes the calling thread a runtime thread: gives it a slot (its own when it has one), takes
/// the runtime lock unless it holds it, and switches to its slot. Returns the slot, or -1 when
/// all 64 slots are used (the lock is not taken then). A second runtime thread raises the
/// threads-active count, so window procedures start taking the lock.
int EnterRuntimeThread();

/// The calling thread leaves the runtime: its slot is freed and the lock released. Windows it
/// still has open are left to their owner.
void LeaveRuntimeThread();

/// Starts a thread that runs `body` as procedure code: it gets its own slot (with the thread's
/// handle for the end-of-program wait), its own value stacks, and holds the runtime lock while
/// the body runs. Returns the slot number, or -1 when no slot is free or the thread cannot be
/// created. Call with the runtime lock held.
int StartRuntimeThread(std::function<void()> body);

/// Waits for every other thread the runtime started: releases the lock, waits for their
/// handles (handling messages sent meanwhile), takes the lock again and frees their slots.
void WaitForOtherThreads();

/// A blocking platform call (a common dialog): while it runs the runtime lock is released and
/// window procedures entered by the platform take it themselves.
class BlockingPlatformCall {
 public:
  BlockingPlatformCall();
  ~BlockingPlatformCall();
  BlockingPlatformCall(const BlockingPlatformCall&) = delete;
  BlockingPlatformCall& operator=(const BlockingPlatformCall&) = delete;
};

/// Wakes the ACCEPT loop of a window's thread with QUERY_CONTINUETHREAD when that thread is not
/// the current one.
void ContinueThread(const WindowObject& window);

}  // namespace vel::windows

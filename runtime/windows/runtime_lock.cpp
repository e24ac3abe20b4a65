#include "runtime/windows/runtime_lock.h"

#include <atomic>

#include "runtime/windows/thread_table.h"

namespace vel::windows {
namespace {

std::atomic<DWORD> g_owner{0};

HANDLE Semaphore() {
  static HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, nullptr);
  return semaphore;
}

// Handles the messages other threads sent to this one; PM_NOREMOVE leaves posted ones queued.
void ProcessSentMessages() {
  MSG ignored{};
  PeekMessageA(&ignored, nullptr, 0, 0, PM_NOREMOVE);
}

// One wait for the semaphore of at most `milliseconds`; true when it was taken.
bool WaitForSemaphore(DWORD milliseconds) {
  HANDLE semaphore = Semaphore();
  for (;;) {
    DWORD result = MsgWaitForMultipleObjects(1, &semaphore, FALSE, milliseconds, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) {
      g_owner.store(GetCurrentThreadId());
      return true;
    }
    if (result == WAIT_OBJECT_0 + 1) {
      ProcessSentMessages();
      continue;
    }
    return false;
  }
}

}  // namespace

void AcquireRuntimeLock() {
  if (WaitForSemaphore(INFINITE)) return;
  // The message wait failed, which leaves the plain wait: sent messages then wait with us.
  WaitForSingleObject(Semaphore(), INFINITE);
  g_owner.store(GetCurrentThreadId());
}

void ReleaseRuntimeLock() {
  if (!CallingThreadOwnsRuntimeLock()) return;
  g_owner.store(0);
  ReleaseSemaphore(Semaphore(), 1, nullptr);
}

DWORD RuntimeLockOwner() { return g_owner.load(); }

bool CallingThreadOwnsRuntimeLock() { return g_owner.load() == GetCurrentThreadId(); }

WindowProcedureLock::WindowProcedureLock() {
  if (ThreadsActive() == 0 || CallingThreadOwnsRuntimeLock() || InSendMessage()) return;
  while (!WaitForSemaphore(10)) ProcessSentMessages();
  m_taken = true;
  m_savedCurrent = CurrentSlot();
  m_savedLoaded = LoadedSlot();
  int own = FindSlotOfCallingThread();
  if (own >= 0) SwitchToSlot(own);
}

WindowProcedureLock::~WindowProcedureLock() {
  if (!m_taken) return;
  ThreadContext context = SaveThreadContext();
  context.currentSlot = m_savedCurrent;
  context.loadedSlot = m_savedLoaded;
  RestoreThreadContext(context);
  ReleaseRuntimeLock();
}

}  // namespace vel::windows

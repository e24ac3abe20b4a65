// Threads as waitable kernel objects, thread ids, and critical sections.

#include <sys/syscall.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <thread>

#include "platform/kernel/handle_table.h"
#include "platform/kernel/signal_stacks.h"
#include "platform/kernel/wait_hub.h"

namespace vel::platform {
namespace {

// A thread object is signalled once the thread has ended.
class ThreadObject final : public KernelObject {
 public:
  bool IsWaitable() const override { return true; }
  bool IsSignaledLocked() const override { return finished; }

  DWORD id = 0;
  DWORD suspendCount = 0;
  bool started = false;
  bool finished = false;
  DWORD exitCode = STILL_ACTIVE;
};

// Signals the thread object when its thread ends. It is the thread's first thread-local object
// with a destructor, so it is destroyed last: only after every other thread-local object (the
// message queue, the value stacks) has been torn down. A wait on the handle therefore returns
// when the thread has finished all of its work, as on Win32; signalling when the start routine
// returns let a program that waited for its threads exit while they were still tearing down,
// destroying process-wide objects that their teardown still used.
class ThreadEndSignal {
 public:
  void Arm(std::shared_ptr<ThreadObject> thread) { m_thread = std::move(thread); }
  void SetExitCode(DWORD code) { m_exitCode = code; }
  ~ThreadEndSignal() {
    if (!m_thread) return;
    WaitHub& hub = WaitHub::Instance();
    std::lock_guard<std::mutex> lock(hub.Mutex());
    m_thread->exitCode = m_exitCode;
    m_thread->finished = true;
    hub.NotifyLocked();
  }

 private:
  std::shared_ptr<ThreadObject> m_thread;
  DWORD m_exitCode = 0;
};

thread_local ThreadEndSignal t_endSignal;

}  // namespace
}  // namespace vel::platform

using vel::platform::HandleTable;
using vel::platform::ThreadObject;
using vel::platform::WaitHub;

DWORD WINAPI GetCurrentThreadId(void) {
  thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}

HANDLE WINAPI GetCurrentThread(void) { return vel::platform::CurrentThreadPseudoHandle(); }

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                           DWORD dwCreationFlags, LPDWORD lpThreadId) {
  if (lpStartAddress == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<ThreadObject>();
  thread->suspendCount = (dwCreationFlags & CREATE_SUSPENDED) != 0 ? 1 : 0;
  WaitHub& hub = WaitHub::Instance();
  try {
    std::thread([thread, lpStartAddress, lpParameter, &hub] {
      vel::platform::t_endSignal.Arm(thread);
      // Every thread the program starts can report running out of stack.
      vel::platform::PrepareThreadForFaults();
      {
        // Publish the id, then wait out a suspended start.
        std::unique_lock<std::mutex> lock(hub.Mutex());
        thread->id = GetCurrentThreadId();
        thread->started = true;
        hub.NotifyLocked();
        hub.Wait(lock, [&] { return thread->suspendCount == 0; });
      }
      vel::platform::t_endSignal.SetExitCode(lpStartAddress(lpParameter));
    }).detach();
  } catch (const std::system_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  {
    std::unique_lock<std::mutex> lock(hub.Mutex());
    hub.Wait(lock, [&] { return thread->started; });
    if (lpThreadId != nullptr) *lpThreadId = thread->id;
  }
  return HandleTable::Instance().Add(thread);
}

DWORD WINAPI ResumeThread(HANDLE hThread) {
  auto thread = HandleTable::Instance().FindAs<ThreadObject>(hThread);
  if (thread == nullptr) return static_cast<DWORD>(-1);
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard<std::mutex> lock(hub.Mutex());
  DWORD previous = thread->suspendCount;
  if (thread->suspendCount > 0 && --thread->suspendCount == 0) hub.NotifyLocked();
  return previous;
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
  auto thread = HandleTable::Instance().FindAs<ThreadObject>(hThread);
  if (thread == nullptr || lpExitCode == nullptr) {
    if (thread != nullptr) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(WaitHub::Instance().Mutex());
  *lpExitCode = thread->exitCode;
  return TRUE;
}

// Critical sections keep a recursive mutex where Win32 keeps its lock semaphore, and maintain
// the owner and recursion fields as Win32 does so that debugging code can read them.
namespace {
std::recursive_mutex* MutexOf(LPCRITICAL_SECTION section) {
  return static_cast<std::recursive_mutex*>(section->LockSemaphore);
}
void NoteEntered(LPCRITICAL_SECTION section) {
  if (++section->RecursionCount == 1) {
    section->OwningThread = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()));
  }
}
}  // namespace

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  lpCriticalSection->DebugInfo = nullptr;
  lpCriticalSection->LockCount = -1;
  lpCriticalSection->RecursionCount = 0;
  lpCriticalSection->OwningThread = nullptr;
  lpCriticalSection->LockSemaphore = new std::recursive_mutex();
  lpCriticalSection->SpinCount = 0;
}

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  delete MutexOf(lpCriticalSection);
  lpCriticalSection->LockSemaphore = nullptr;
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  MutexOf(lpCriticalSection)->lock();
  NoteEntered(lpCriticalSection);
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (!MutexOf(lpCriticalSection)->try_lock()) return FALSE;
  NoteEntered(lpCriticalSection);
  return TRUE;
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  // Leaving a section this thread does not hold would corrupt it; Win32 leaves that undefined.
  if (lpCriticalSection->RecursionCount <= 0 ||
      lpCriticalSection->OwningThread != reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()))) {
    return;
  }
  if (--lpCriticalSection->RecursionCount == 0) lpCriticalSection->OwningThread = nullptr;
  MutexOf(lpCriticalSection)->unlock();
}

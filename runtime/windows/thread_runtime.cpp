#include "runtime/windows/thread_runtime.h"

#include <memory>
#include <vector>

#include "runtime/windows/event_codes.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

int g_blockingNesting = 0;

struct ThreadStart {
  std::function<void()> body;
};

DWORD WINAPI RuntimeThreadMain(LPVOID parameter) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
  // The starter claimed the slot while it held the lock; taking the lock here waits until it
  // has finished doing so.
  AcquireRuntimeLock();
  int slot = FindSlotOfCallingThread();
  SwitchToSlot(slot);
  if (start->body) start->body();
  if (ThreadSlot* entry = SlotAt(slot)) {
    entry->finished = true;
    entry->currentWindow = nullptr;
    entry->targetWindow = nullptr;
  }
  ReleaseRuntimeLock();
  return 0;
}

}  // namespace

int EnterRuntimeThread() {
  int slot = FindSlotOfCallingThread();
  if (!CallingThreadOwnsRuntimeLock()) AcquireRuntimeLock();
  if (slot < 0) {
    slot = ClaimSlot(GetCurrentThreadId(), nullptr);
    if (slot < 0) {
      ReleaseRuntimeLock();
      return -1;
    }
    if (UsedSlotCount() > 1) {
      RaiseThreadsActive();
      SlotAt(slot)->countedActive = true;
    }
  }
  SwitchToSlot(slot);
  return slot;
}

void LeaveRuntimeThread() {
  int slot = FindSlotOfCallingThread();
  if (slot >= 0) FreeSlot(slot);
  ReleaseRuntimeLock();
}

int StartRuntimeThread(std::function<void()> body) {
  if (UsedSlotCount() >= kThreadSlotCount) return -1;
  auto* start = new ThreadStart{std::move(body)};
  DWORD threadId = 0;
  HANDLE handle = CreateThread(nullptr, 0, RuntimeThreadMain, start, CREATE_SUSPENDED, &threadId);
  if (handle == nullptr) {
    delete start;
    return -1;
  }
  // The caller holds the lock and a slot was free, so the claim succeeds; the thread starts
  // only once its slot is recorded.
  int slot = ClaimSlot(threadId, handle);
  if (slot < 0) {
    start->body = nullptr;
    ResumeThread(handle);
    CloseHandle(handle);
    return -1;
  }
  RaiseThreadsActive();
  SlotAt(slot)->countedActive = true;
  ResumeThread(handle);
  return slot;
}

void WaitForOtherThreads() {
  int own = FindSlotOfCallingThread();
  std::vector<int> slots;
  std::vector<HANDLE> handles;
  for (int slot = 0; slot < kThreadSlotCount; ++slot) {
    ThreadSlot* entry = SlotAt(slot);
    if (slot == own || entry->threadId.load() == 0 || entry->threadHandle == nullptr) continue;
    slots.push_back(slot);
    handles.push_back(entry->threadHandle);
  }
  if (handles.empty()) return;
  ThreadContext context = SaveThreadContext();
  bool held = CallingThreadOwnsRuntimeLock();
  if (held) ReleaseRuntimeLock();
  std::vector<HANDLE> waiting = handles;
  while (!waiting.empty()) {
    DWORD result = MsgWaitForMultipleObjects(static_cast<DWORD>(waiting.size()), waiting.data(), FALSE, INFINITE,
                                             QS_SENDMESSAGE);
    if (result < WAIT_OBJECT_0 + waiting.size()) {
      waiting.erase(waiting.begin() + static_cast<std::ptrdiff_t>(result - WAIT_OBJECT_0));
    } else if (result == WAIT_OBJECT_0 + waiting.size()) {
      MSG ignored{};
      PeekMessageA(&ignored, nullptr, 0, 0, PM_NOREMOVE);
    } else {
      break;
    }
  }
  if (held) AcquireRuntimeLock();
  RestoreThreadContext(context);
  for (int slot : slots) FreeSlot(slot);
}

BlockingPlatformCall::BlockingPlatformCall() {
  RaiseThreadsActive();
  if (++g_blockingNesting == 1) ReleaseRuntimeLock();
}

BlockingPlatformCall::~BlockingPlatformCall() {
  if (--g_blockingNesting == 0) {
    int current = CurrentSlot();
    AcquireRuntimeLock();
    int own = FindSlotOfCallingThread();
    SwitchToSlot(own >= 0 ? own : current);
  }
  LowerThreadsActive();
}

void ContinueThread(const WindowObject& window) {
  if (window.threadSlot == CurrentSlot()) return;
  const ThreadSlot* slot = SlotAt(window.threadSlot);
  if (slot == nullptr || slot->threadId.load() == 0) return;
  PostThreadMessageA(slot->threadId.load(), QUERY_CONTINUETHREAD, 0, 0);
}

}  // namespace vel::windows

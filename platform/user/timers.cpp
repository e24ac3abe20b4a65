// Window and thread timers. They run on CurrentClock(), so on the headless backend they fire
// when its clock is moved.

#include <algorithm>
#include <mutex>

#include "platform/kernel/clock.h"
#include "platform/kernel/wait_hub.h"
#include "platform/user/message_queue.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

using namespace vel::platform;

namespace {

// Shorter periods are raised to this, as on the original.
constexpr UINT kMinimumInterval = 10;
constexpr UINT kMaximumInterval = 0x7FFFFFFF;

}  // namespace

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  if (hWnd != nullptr) {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr || window == &Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (window->threadId != CurrentThreadId()) {
      SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
      return 0;
    }
  }
  UINT interval = std::clamp(uElapse, kMinimumInterval, kMaximumInterval);
  MessageQueue& queue = CurrentQueue();
  uint64_t due = CurrentClock().NowMilliseconds() + interval;
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  if (hWnd == nullptr) {
    // A thread timer keeps its id when the caller names an existing one; otherwise it gets a
    // new one that no other thread timer of this thread uses.
    for (Timer& timer : queue.timers) {
      if (timer.window == nullptr && timer.id == nIDEvent && nIDEvent != 0) {
        timer = {nullptr, nIDEvent, interval, due, lpTimerFunc};
        ++queue.changes;
        hub.NotifyLocked();
        return nIDEvent;
      }
    }
    static UINT_PTR nextId = 0x7FFF;
    UINT_PTR id = 0;
    bool taken = true;
    while (taken) {
      id = ++nextId;
      taken = false;
      for (const Timer& timer : queue.timers) taken = taken || (timer.window == nullptr && timer.id == id);
    }
    queue.timers.push_back({nullptr, id, interval, due, lpTimerFunc});
    ++queue.changes;
    hub.NotifyLocked();
    return id;
  }
  for (Timer& timer : queue.timers) {
    if (timer.window == hWnd && timer.id == nIDEvent) {
      timer = {hWnd, nIDEvent, interval, due, lpTimerFunc};
      ++queue.changes;
      hub.NotifyLocked();
      return nIDEvent == 0 ? 1 : nIDEvent;
    }
  }
  queue.timers.push_back({hWnd, nIDEvent, interval, due, lpTimerFunc});
  ++queue.changes;
  hub.NotifyLocked();
  return nIDEvent == 0 ? 1 : nIDEvent;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  MessageQueue& queue = CurrentQueue();
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  auto removed = std::erase_if(queue.timers, [&](const Timer& timer) {
    return timer.window == hWnd && timer.id == uIDEvent;
  });
  // A WM_TIMER already taken from the queue is not recalled, but one not yet generated is
  // never generated: timers produce their message only when looked for.
  if (removed == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

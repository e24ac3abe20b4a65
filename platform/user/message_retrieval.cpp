// Taking messages from the calling thread's queue in the documented order.

#include "platform/user/message_queue.h"

#include <chrono>

#include "platform/display/display_backend.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/wait_hub.h"
#include "platform/user/hooks.h"
#include "platform/user/input_state.h"
#include "platform/user/paint_state.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

bool InRange(UINT message, UINT first, UINT last) {
  if (first == 0 && last == 0) return true;
  return message >= first && message <= last;
}

bool ForFilterWindow(HWND target, HWND filter) {
  if (filter == nullptr) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
  if (target == filter) return true;
  TreeLock lock;
  Window* parent = LookupWindow(filter);
  Window* child = LookupWindow(target);
  return parent != nullptr && child != nullptr && IsSelfOrAncestor(parent, child);
}

void Stamp(MessageQueue& queue, const MSG& msg) {
  queue.lastMessageTime = msg.time;
  queue.lastMessagePoint = msg.pt;
}

// A posted message (inputPass false) or an input message (true) that passes the filter:
// posted messages go before input, as on the original system where input has a queue of its
// own. Input mouse messages may be swallowed by a WH_MOUSE hook; the search then goes on.
bool TakeQueued(MessageQueue& queue, MSG* out, HWND filter, UINT first, UINT last, bool remove, bool inputPass) {
  WaitHub& hub = WaitHub::Instance();
  for (size_t index = 0;; ++index) {
    QueuedMessage candidate;
    {
      std::lock_guard lock(hub.Mutex());
      if (index >= queue.posted.size()) return false;
      candidate = queue.posted[index];
    }
    if (candidate.input != inputPass) continue;
    if (!InRange(candidate.msg.message, first, last) || !ForFilterWindow(candidate.msg.hwnd, filter)) continue;
    bool isMouse = candidate.input && candidate.msg.message >= WM_MOUSEFIRST && candidate.msg.message <= WM_MOUSELAST;
    bool swallowed = isMouse && MouseHookSwallows(candidate.msg, remove);
    if (remove || swallowed) {
      std::lock_guard lock(hub.Mutex());
      // The entry is still at `index`: only this thread removes from its own queue.
      queue.posted.erase(queue.posted.begin() + static_cast<std::ptrdiff_t>(index));
      --index;
    }
    if (swallowed) {
      if (candidate.input) ApplyInputToKeyState(queue, candidate.msg);
      continue;
    }
    if (remove && candidate.input) ApplyInputToKeyState(queue, candidate.msg);
    *out = candidate.msg;
    Stamp(queue, *out);
    return true;
  }
}

bool TakeQuit(MessageQueue& queue, MSG* out, HWND filter, UINT first, UINT last, bool remove) {
  if (filter != nullptr && filter != reinterpret_cast<HWND>(-1)) return false;
  if (!InRange(WM_QUIT, first, last)) return false;
  std::lock_guard lock(WaitHub::Instance().Mutex());
  if (!queue.quit) return false;
  *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, GetTickCount(), {}};
  if (remove) queue.quit = false;
  return true;
}

bool TakePaint(MSG* out, HWND filter, UINT first, UINT last) {
  if (!InRange(WM_PAINT, first, last)) return false;
  HWND window = WindowNeedingPaint(CurrentThreadId(), filter == reinterpret_cast<HWND>(-1) ? nullptr : filter);
  if (window == nullptr || filter == reinterpret_cast<HWND>(-1)) return false;
  *out = MSG{window, WM_PAINT, 0, 0, GetTickCount(), {}};
  return true;
}

bool TakeTimer(MessageQueue& queue, MSG* out, HWND filter, UINT first, UINT last, bool remove) {
  if (!InRange(WM_TIMER, first, last)) return false;
  uint64_t now = CurrentClock().NowMilliseconds();
  std::lock_guard lock(WaitHub::Instance().Mutex());
  for (Timer& timer : queue.timers) {
    if (timer.due > now) continue;
    if (filter == reinterpret_cast<HWND>(-1) ? timer.window != nullptr
                                             : (filter != nullptr && timer.window != filter)) {
      continue;
    }
    *out = MSG{timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure),
               static_cast<DWORD>(now), {}};
    // A timer that fell behind fires once, then keeps its period from now.
    if (remove) timer.due = now + timer.interval;
    return true;
  }
  return false;
}

}  // namespace

bool RetrieveMessage(MSG* msg, HWND window, UINT first, UINT last, UINT remove, bool wait) {
  EnsureWindowManager();
  MessageQueue& queue = CurrentQueue();
  WaitHub& hub = WaitHub::Instance();
  bool removing = (remove & PM_REMOVE) != 0;
  for (;;) {
    uint64_t changesSeen = 0;
    {
      std::lock_guard lock(hub.Mutex());
      changesSeen = queue.changes;
      queue.newBits = 0;
    }
    HandleIncomingSentMessages();
    if (TakeQueued(queue, msg, window, first, last, removing, false)) return true;
    if (TakeQueued(queue, msg, window, first, last, removing, true)) return true;
    if (TakeQuit(queue, msg, window, first, last, removing)) return true;
    if (TakePaint(msg, window, first, last)) return true;
    if (TakeTimer(queue, msg, window, first, last, removing)) return true;
    if (!wait) return false;

    std::optional<uint64_t> nextDue;
    {
      std::lock_guard lock(hub.Mutex());
      if (queue.changes != changesSeen || !queue.incoming.empty()) continue;
      nextDue = NextTimerDueLocked(queue);
    }
    NotifyThreadIdle(changesSeen);
    if (CurrentDisplay().Idle(nextDue)) continue;

    std::unique_lock lock(hub.Mutex());
    auto ready = [&] {
      if (queue.changes != changesSeen || !queue.incoming.empty()) return true;
      std::optional<uint64_t> due = NextTimerDueLocked(queue);
      return due && *due <= CurrentClock().NowMilliseconds();
    };
    if (!nextDue) {
      hub.Wait(lock, ready);
    } else {
      uint64_t now = CurrentClock().NowMilliseconds();
      uint64_t delay = *nextDue > now ? *nextDue - now : 0;
      hub.WaitUntil(lock, std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max<uint64_t>(delay, 1)),
                    ready);
    }
  }
}

}  // namespace vel::platform

#include "platform/user/message_queue.h"

#include <algorithm>
#include <atomic>
#include <unordered_map>

#include "platform/kernel/wait_hub.h"
#include "platform/user/input_state.h"
#include "platform/user/window_lifetime.h"

namespace vel::platform {
namespace {

std::unordered_map<DWORD, std::shared_ptr<MessageQueue>>& Registry() {
  static auto* registry = new std::unordered_map<DWORD, std::shared_ptr<MessageQueue>>();
  return *registry;
}

// Owns the thread's queue; when the thread ends, senders waiting on it are released with a
// zero result and the thread's windows are taken down, as they are when a thread exits.
struct QueueHolder {
  std::shared_ptr<MessageQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    std::deque<std::shared_ptr<SentMessage>> unhandled;
    {
      WaitHub& hub = WaitHub::Instance();
      std::lock_guard lock(hub.Mutex());
      queue->alive = false;
      for (auto& sent : queue->incoming) sent->done = true;
      unhandled.swap(queue->incoming);
      Registry().erase(queue->threadId);
      hub.NotifyLocked();
    }
    for (auto& sent : unhandled) {
      if (sent->onDone) sent->onDone();
    }
    DiscardWindowsOfThread(queue->threadId);
  }
};

thread_local QueueHolder t_holder;

std::atomic<ThreadIdleObserver> g_idleObserver{nullptr};

}  // namespace

DWORD CurrentThreadId() { return GetCurrentThreadId(); }

MessageQueue& CurrentQueue() {
  if (!t_holder.queue) {
    auto queue = std::make_shared<MessageQueue>();
    queue->threadId = CurrentThreadId();
    WaitHub& hub = WaitHub::Instance();
    std::lock_guard lock(hub.Mutex());
    Registry()[queue->threadId] = queue;
    t_holder.queue = std::move(queue);
  }
  return *t_holder.queue;
}

MessageQueue* QueueOfThread(DWORD threadId) {
  auto& registry = Registry();
  auto found = registry.find(threadId);
  return found == registry.end() ? nullptr : found->second.get();
}

bool PostToThread(DWORD threadId, const MSG& msg, bool input) {
  if (threadId == CurrentThreadId()) CurrentQueue();
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  MessageQueue* queue = QueueOfThread(threadId);
  if (queue == nullptr || !queue->alive) return false;
  queue->posted.push_back({msg, input});
  ++queue->changes;
  if (!input) queue->newBits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  else if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) queue->newBits |= QS_KEY;
  else if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) queue->newBits |= QS_MOUSEMOVE;
  else queue->newBits |= QS_MOUSEBUTTON;
  hub.NotifyLocked();
  return true;
}

void TouchQueue(DWORD threadId) {
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  if (MessageQueue* queue = QueueOfThread(threadId)) {
    ++queue->changes;
    queue->newBits |= QS_PAINT;
    hub.NotifyLocked();
  }
}

bool QueueSentMessage(DWORD threadId, const std::shared_ptr<SentMessage>& sent) {
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  MessageQueue* receiver = QueueOfThread(threadId);
  if (receiver == nullptr || !receiver->alive) return false;
  receiver->incoming.push_back(sent);
  ++receiver->changes;
  receiver->newBits |= QS_SENDMESSAGE;
  hub.NotifyLocked();
  return true;
}

void SetThreadIdleObserver(ThreadIdleObserver observer) { g_idleObserver.store(observer); }

void NotifyThreadIdle(uint64_t changesSeen) {
  if (ThreadIdleObserver observer = g_idleObserver.load()) observer(CurrentThreadId(), changesSeen);
}

bool HandleIncomingSentMessages() {
  MessageQueue& queue = CurrentQueue();
  WaitHub& hub = WaitHub::Instance();
  bool handledAny = false;
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard lock(hub.Mutex());
      if (queue.incoming.empty()) return handledAny;
      sent = queue.incoming.front();
      queue.incoming.pop_front();
    }
    queue.handling.push_back(sent);
    LRESULT result = CallWindowProcedure(sent->window, sent->message, sent->wParam, sent->lParam);
    queue.handling.pop_back();
    handledAny = true;
    {
      std::lock_guard lock(hub.Mutex());
      sent->result = result;
      sent->done = true;
      hub.NotifyLocked();
    }
    if (sent->onDone) sent->onDone();
  }
}

std::optional<uint64_t> NextTimerDueLocked(const MessageQueue& queue) {
  std::optional<uint64_t> next;
  for (const Timer& timer : queue.timers) {
    if (!next || timer.due < *next) next = timer.due;
  }
  return next;
}

void ForgetWindowMessages(HWND window, DWORD threadId) {
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  MessageQueue* queue = QueueOfThread(threadId);
  if (queue == nullptr) return;
  std::erase_if(queue->timers, [window](const Timer& timer) { return timer.window == window; });
  // Input for the window still changes what the thread knows of the keys and buttons, so that
  // a key released after its window closed (the F4 and Alt of Alt+F4) does not stay down.
  for (const QueuedMessage& queued : queue->posted) {
    if (queued.input && queued.msg.hwnd == window) ApplyInputToKeyState(*queue, queued.msg);
  }
  std::erase_if(queue->posted, [window](const QueuedMessage& queued) { return queued.msg.hwnd == window; });
}

}  // namespace vel::platform

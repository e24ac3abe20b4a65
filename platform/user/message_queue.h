#pragma once
// One message queue per thread: posted messages (input among them, in arrival order), messages
// sent from other threads waiting to be handled, the quit request and the thread's timers.
// Every field shared between threads is guarded by the WaitHub lock, so a thread can sleep on
// its queue and on kernel objects at once.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "win32.h"

namespace vel::platform {

/// A message sent from one thread to a window of another; the sender waits until `done`.
struct SentMessage {
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  bool done = false;
  /// Runs on the receiving thread once `done` is set (or when the receiver ended without
  /// handling it), for senders that cannot sleep until then.
  std::function<void()> onDone;
};

struct QueuedMessage {
  MSG msg{};
  /// Hardware input (keys, mouse): posted by the input path, seen by hooks and key state.
  bool input = false;
};

struct Timer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  uint64_t due = 0;
  TIMERPROC procedure = nullptr;
};

struct MessageQueue {
  DWORD threadId = 0;
  // Shared, guarded by the WaitHub lock.
  std::deque<QueuedMessage> posted;
  std::deque<std::shared_ptr<SentMessage>> incoming;
  bool quit = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  /// Counts every change another thread might wait for.
  uint64_t changes = 0;
  /// QS_* bits of what arrived since the thread last looked at its queue.
  UINT newBits = 0;
  bool alive = true;
  // The thread's own, touched only by it.
  /// Messages from other threads being handled now (innermost last): InSendMessage.
  std::vector<std::shared_ptr<SentMessage>> handling;
  /// Key state as of the last input message the thread took from its queue.
  BYTE keyState[256] = {};
  DWORD lastMessageTime = 0;
  POINT lastMessagePoint{};
};

/// The calling thread's queue, created on first use.
MessageQueue& CurrentQueue();
/// The queue of a thread, or null when it has none (or has ended). Needs the WaitHub lock.
MessageQueue* QueueOfThread(DWORD threadId);

/// Appends a posted message to a thread's queue and wakes it. False when the thread has no
/// queue.
bool PostToThread(DWORD threadId, const MSG& msg, bool input);
/// Marks a thread's queue changed (e.g. one of its windows needs painting) and wakes it.
void TouchQueue(DWORD threadId);

/// Hands a sent message to the thread that owns its window; false when that thread has no
/// queue. The caller waits for `done` or relies on `onDone`.
bool QueueSentMessage(DWORD threadId, const std::shared_ptr<SentMessage>& sent);

/// Handles every message other threads have sent to this thread. Returns true if any was.
bool HandleIncomingSentMessages();

/// Told each time a thread is about to sleep because nothing it waits for is queued. The
/// thread's queue had changed `changesSeen` times when it last looked, so whatever was queued
/// before that has been seen. Runs on that thread with no lock held.
using ThreadIdleObserver = void (*)(DWORD threadId, uint64_t changesSeen);
void SetThreadIdleObserver(ThreadIdleObserver observer);
/// Calls the observer, if one is installed.
void NotifyThreadIdle(uint64_t changesSeen);

/// The earliest timer due on the calling thread's queue. Needs the WaitHub lock.
std::optional<uint64_t> NextTimerDueLocked(const MessageQueue& queue);

/// Takes the next message for the calling thread as GetMessageA/PeekMessageA do: sent
/// messages are handled first; then posted and input messages, the quit request, WM_PAINT and
/// due timers, in that order. With `wait` it sleeps until one is there.
bool RetrieveMessage(MSG* msg, HWND window, UINT first, UINT last, UINT remove, bool wait);

/// Calls the window procedure of a window of this thread.
LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/// Removes every timer of a window and every posted message for it (a window being destroyed);
/// what its queued input does to the thread's key state still happens.
void ForgetWindowMessages(HWND window, DWORD threadId);

}  // namespace vel::platform

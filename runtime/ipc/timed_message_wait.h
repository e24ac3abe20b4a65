#pragma once
// Waiting a limited time for one kind of message to one window, as the DDE client and the
// custom-control bridge wait for their partner: time is the platform's tick count, so on the
// headless display the wait costs virtual time only, and a timer marks its end so that a
// virtual clock knows when it is. Other messages stay queued; a timer of the thread that falls
// due meanwhile is set aside and queued again when the wait ends.

#include <tuple>
#include <vector>

#include "win32.h"

namespace vel::ipc {

class TimedMessageWait {
 public:
  /// Starts a wait of `milliseconds` for messages to `window`.
  TimedMessageWait(HWND window, DWORD milliseconds);
  ~TimedMessageWait();
  TimedMessageWait(const TimedMessageWait&) = delete;
  TimedMessageWait& operator=(const TimedMessageWait&) = delete;

  /// Takes the next message to the window in [first, last] off the queue, waiting for one as
  /// long as the time lasts. False once the time is up.
  bool Next(UINT first, UINT last, MSG& message);

 private:
  void SetAsideDueTimers();

  HWND m_window;
  DWORD m_start;
  DWORD m_limit;
  std::vector<MSG> m_timersSetAside;
};

}  // namespace vel::ipc

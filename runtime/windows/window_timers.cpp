#include "runtime/windows/window_timers.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {

void RestartWindowTimer(WindowObject& window, std::int32_t interval) {
  if (window.timerRunning && window.handle != nullptr) KillTimer(window.handle, kWindowTimerId);
  window.timerRunning = false;
  window.timerInterval = interval > 0 ? interval : 0;
  if (window.timerInterval == 0 || window.handle == nullptr) return;
  window.timerRunning =
      SetTimer(window.handle, kWindowTimerId, HundredthsToMilliseconds(window.timerInterval), nullptr) != 0;
}

void SetIdleTimer(WindowObject& window, std::int32_t eventNumber, std::int32_t interval) {
  if (window.idleEvent != 0 && window.handle != nullptr) KillTimer(window.handle, kIdleTimerId);
  window.idleEvent = 0;
  window.idleInterval = 0;
  if (eventNumber == 0 || interval <= 0 || window.handle == nullptr) return;
  if (SetTimer(window.handle, kIdleTimerId, HundredthsToMilliseconds(interval), nullptr) == 0) return;
  window.idleEvent = eventNumber + kEventBase;
  window.idleInterval = interval;
}

void StopWindowTimers(WindowObject& window) {
  if (window.handle != nullptr) {
    if (window.timerRunning) KillTimer(window.handle, kWindowTimerId);
    if (window.idleEvent != 0) KillTimer(window.handle, kIdleTimerId);
  }
  window.timerRunning = false;
  window.idleEvent = 0;
  window.idleInterval = 0;
}

bool TakeIdleTimerMessage(WindowObject& window, const MSG& message) {
  if (message.message != WM_TIMER || message.wParam != kIdleTimerId || message.hwnd == nullptr ||
      message.hwnd != window.handle) {
    return false;
  }
  if (window.idleEvent != 0) PostEvent(window, window.idleEvent);
  return true;
}

}  // namespace vel::windows

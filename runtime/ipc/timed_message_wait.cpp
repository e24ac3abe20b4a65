#include "runtime/ipc/timed_message_wait.h"

#include <algorithm>

namespace vel::ipc {
namespace {

// The timer that marks the end of a wait; the window manager's own timers are 1 and 2.
constexpr UINT_PTR kWaitTimer = 0x5DDE;

}  // namespace

TimedMessageWait::TimedMessageWait(HWND window, DWORD milliseconds)
    : m_window(window), m_start(GetTickCount()), m_limit(milliseconds) {
  SetTimer(m_window, kWaitTimer, std::max<DWORD>(milliseconds, 1), nullptr);
}

TimedMessageWait::~TimedMessageWait() {
  KillTimer(m_window, kWaitTimer);
  for (const MSG& timer : m_timersSetAside) PostMessageA(timer.hwnd, WM_TIMER, timer.wParam, timer.lParam);
}

bool TimedMessageWait::Next(UINT first, UINT last, MSG& message) {
  for (;;) {
    if (PeekMessageA(&message, m_window, first, last, PM_REMOVE)) return true;
    DWORD elapsed = GetTickCount() - m_start;
    if (elapsed >= m_limit) return false;
    SetAsideDueTimers();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, m_limit - elapsed,
                              QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER);
  }
}

void TimedMessageWait::SetAsideDueTimers() {
  MSG timer{};
  while (PeekMessageA(&timer, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    if (timer.hwnd == m_window && timer.wParam == kWaitTimer) continue;
    bool known = std::any_of(m_timersSetAside.begin(), m_timersSetAside.end(), [&](const MSG& kept) {
      return kept.hwnd == timer.hwnd && kept.wParam == timer.wParam && kept.lParam == timer.lParam;
    });
    if (!known) m_timersSetAside.push_back(timer);
  }
}

}  // namespace vel::ipc

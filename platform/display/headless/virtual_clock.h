#pragma once
// The headless backend's clock: time stands still until a test moves it, or, in the mode meant
// for unattended programs, until every wait would otherwise sleep past the next timer.

#include <atomic>
#include <cstdint>

#include "platform/kernel/clock.h"

namespace vel::platform {

class VirtualClock final : public Clock {
 public:
  uint64_t NowMilliseconds() override { return m_now.load(); }
  /// Sleeping on a virtual clock passes the time at once: the caller sees the time it asked
  /// for go by, and nothing real is waited for. The thread still yields, so that a loop that
  /// sleeps while it waits for another thread lets that thread run.
  void SleepMilliseconds(uint32_t milliseconds) override;

  /// Moves time forward and wakes every waiter so that due timers fire.
  void Advance(uint64_t milliseconds);
  /// Moves time to `when` if that is later than now.
  void AdvanceTo(uint64_t when);

  /// In manual mode only Advance moves time. Otherwise (the default) a thread that would
  /// sleep for messages with a timer pending lets time jump to that timer.
  void SetManual(bool manual) { m_manual = manual; }
  bool Manual() const { return m_manual; }

  /// Starts at the given time, so that a program that read the real clock before the backend
  /// took over sees time go on rather than jump back.
  explicit VirtualClock(uint64_t start) : m_now(start) {}

 private:
  std::atomic<uint64_t> m_now;
  std::atomic<bool> m_manual{false};
};

}  // namespace vel::platform

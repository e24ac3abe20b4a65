#pragma once
// The source of time for GetTickCount, Sleep and every timer. The real clock is the default;
// the headless backend installs its own so that tests decide when time passes.

#include <cstdint>

namespace vel::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  /// Milliseconds since an arbitrary fixed start.
  virtual uint64_t NowMilliseconds() = 0;
  /// Blocks the calling thread for the given time as this clock counts it.
  virtual void SleepMilliseconds(uint32_t milliseconds) = 0;
};

/// The clock in force (the real one unless another was installed).
Clock& CurrentClock();

/// Installs a clock; null restores the real one. The caller keeps ownership.
void InstallClock(Clock* clock);

}  // namespace vel::platform

#include "platform/kernel/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "win32.h"

namespace vel::platform {
namespace {

class RealClock final : public Clock {
 public:
  uint64_t NowMilliseconds() override {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
  void SleepMilliseconds(uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

RealClock g_realClock;
std::atomic<Clock*> g_installed{nullptr};

}  // namespace

Clock& CurrentClock() {
  Clock* clock = g_installed.load(std::memory_order_acquire);
  return clock != nullptr ? *clock : g_realClock;
}

void InstallClock(Clock* clock) { g_installed.store(clock, std::memory_order_release); }

}  // namespace vel::platform

DWORD WINAPI GetTickCount(void) {
  // Wraps every 49.7 days exactly as the 32-bit original does.
  return static_cast<DWORD>(vel::platform::CurrentClock().NowMilliseconds());
}

void WINAPI Sleep(DWORD dwMilliseconds) { vel::platform::CurrentClock().SleepMilliseconds(dwMilliseconds); }

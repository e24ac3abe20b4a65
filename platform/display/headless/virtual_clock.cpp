#include "platform/display/headless/virtual_clock.h"

#include <mutex>
#include <thread>

#include "platform/kernel/wait_hub.h"

namespace vel::platform {

void VirtualClock::Advance(uint64_t milliseconds) {
  m_now.fetch_add(milliseconds);
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  hub.NotifyLocked();
}

void VirtualClock::SleepMilliseconds(uint32_t milliseconds) {
  Advance(milliseconds);
  std::this_thread::yield();
}

void VirtualClock::AdvanceTo(uint64_t when) {
  uint64_t now = m_now.load();
  while (when > now && !m_now.compare_exchange_weak(now, when)) {
  }
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  hub.NotifyLocked();
}

}  // namespace vel::platform

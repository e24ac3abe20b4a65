#include "platform/kernel/wait_hub.h"

namespace vel::platform {

WaitHub& WaitHub::Instance() {
  static WaitHub hub;
  return hub;
}

void WaitHub::NotifyLocked() { m_changed.notify_all(); }

}  // namespace vel::platform

#include "platform/kernel/waitable.h"

#include <mutex>
#include <unordered_map>

namespace vel::platform {
namespace {

// A leaf lock: taken while the WaitHub lock may be held, never the other way round.
std::mutex g_mutex;

std::unordered_map<HANDLE, Waitable*>& Handles() {
  static auto* handles = new std::unordered_map<HANDLE, Waitable*>();
  return *handles;
}

}  // namespace

void RegisterWaitableHandle(HANDLE handle, Waitable* object) {
  std::lock_guard lock(g_mutex);
  Handles()[handle] = object;
}

void UnregisterWaitableHandle(HANDLE handle) {
  std::lock_guard lock(g_mutex);
  Handles().erase(handle);
}

Waitable* WaitableFromHandle(HANDLE handle) {
  std::lock_guard lock(g_mutex);
  auto found = Handles().find(handle);
  return found == Handles().end() ? nullptr : found->second;
}

}  // namespace vel::platform

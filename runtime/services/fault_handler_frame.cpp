#include "runtime/services/fault_handler_frame.h"

#include <mutex>
#include <thread>

namespace vel::services {
namespace {

// A fault can end the program from any thread, so the frame's state is guarded; the lock is
// recursive so that a hook may ask whether the frame is installed.
std::recursive_mutex g_mutex;
FaultHandlerHooks g_hooks;
bool g_installed = false;
std::thread::id g_installingThread;

}  // namespace

void SetFaultHandlerHooks(FaultHandlerHooks hooks) {
  std::lock_guard lock(g_mutex);
  g_hooks = std::move(hooks);
}

bool HasFaultHandlerHooks() {
  std::lock_guard lock(g_mutex);
  return g_hooks.install || g_hooks.uninstall;
}

void InstallFaultHandlerFrame() {
  std::lock_guard lock(g_mutex);
  if (g_installed) return;
  if (g_hooks.install) g_hooks.install();
  g_installed = true;
  g_installingThread = std::this_thread::get_id();
}

void UnlinkFaultHandlerFrame() {
  std::lock_guard lock(g_mutex);
  if (!g_installed || g_installingThread != std::this_thread::get_id()) return;
  if (g_hooks.uninstall) g_hooks.uninstall();
  g_installed = false;
}

bool FaultHandlerFrameInstalled() {
  std::lock_guard lock(g_mutex);
  return g_installed;
}

}  // namespace vel::services

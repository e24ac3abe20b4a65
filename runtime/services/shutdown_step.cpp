#include "runtime/services/shutdown_step.h"

#include <array>

#include "runtime/services/runtime_running.h"

namespace vel::services {
namespace {

std::array<std::function<void()>, 5> g_hooks;

void Run(ShutdownHook which) {
  const std::function<void()>& hook = g_hooks[static_cast<std::size_t>(which)];
  if (hook) hook();
}

}  // namespace

void SetShutdownHook(ShutdownHook which, std::function<void()> hook) {
  g_hooks[static_cast<std::size_t>(which)] = std::move(hook);
}

void RunShutdownStep() {
  Run(ShutdownHook::CloseOpenWindows);
  Run(ShutdownHook::StopOtherThreads);
  SetRuntimeRunning(false);
  Run(ShutdownHook::KillGlobalTimer);
  Run(ShutdownHook::ValueRuntimeCleanUp);
  Run(ShutdownHook::ReleaseValueRuntimeState);
}

}  // namespace vel::services

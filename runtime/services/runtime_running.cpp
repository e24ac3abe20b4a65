#include "runtime/services/runtime_running.h"

#include <atomic>

namespace vel::services {
namespace {

// Read by window procedures on other threads while the first thread shuts down.
std::atomic<bool> g_running{true};

}  // namespace

bool RuntimeRunning() { return g_running.load(); }

void SetRuntimeRunning(bool running) { g_running.store(running); }

}  // namespace vel::services

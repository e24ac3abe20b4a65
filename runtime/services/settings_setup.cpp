#include "runtime/services/settings_setup.h"

namespace vel::services {
namespace {

std::function<void()> g_loader;
bool g_loaded = false;

}  // namespace

void SetRuntimeSettingsLoader(std::function<void()> loader) { g_loader = std::move(loader); }

bool HasRuntimeSettingsLoader() { return static_cast<bool>(g_loader); }

bool RunRuntimeSettingsSetUpOnce() {
  if (g_loaded || !g_loader) return false;
  // Marked first so that a loader which reaches the set-up again does not run twice.
  g_loaded = true;
  g_loader();
  return true;
}

bool RuntimeSettingsLoaded() { return g_loaded; }

void ResetRuntimeSettingsSetUp() {
  g_loader = nullptr;
  g_loaded = false;
}

}  // namespace vel::services

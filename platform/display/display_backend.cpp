#include "platform/display/display_backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "platform/display/headless/headless_display.h"
#include "platform/display/sdl/sdl_display.h"

namespace vel::platform {
namespace {

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

std::unique_ptr<DisplayBackend> CreateBackend() {
  const char* wanted = std::getenv("VELMORA_DISPLAY");
  const std::string name = wanted != nullptr ? wanted : "";
  if (name == "headless") return std::make_unique<HeadlessDisplay>();
  if (name == "sdl" || name.empty()) {
    // Without a choice the desktop is used when there is one.
    std::string whyNot = "no DISPLAY or WAYLAND_DISPLAY is set";
    if (name == "sdl" || Set("DISPLAY") || Set("WAYLAND_DISPLAY")) {
      if (std::unique_ptr<DisplayBackend> desktop = CreateSdlDisplay(&whyNot)) return desktop;
    }
    std::fprintf(stderr, "display: no desktop display is available (%s), running headless\n", whyNot.c_str());
    return std::make_unique<HeadlessDisplay>();
  }
  std::fprintf(stderr, "display: unknown backend \"%s\" (use \"sdl\" or \"headless\"), running headless\n",
               name.c_str());
  return std::make_unique<HeadlessDisplay>();
}

}  // namespace

DisplayBackend& CurrentDisplay() {
  // Never destroyed: windows and threads may still talk to it while the process ends.
  static DisplayBackend* backend = CreateBackend().release();
  return *backend;
}

HeadlessDisplay* CurrentHeadlessDisplay() { return dynamic_cast<HeadlessDisplay*>(&CurrentDisplay()); }

}  // namespace vel::platform

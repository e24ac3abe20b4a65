#include "platform/display/display_backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "platform/display/desktop_requirement.h"
#include "platform/display/headless/headless_display.h"
#include "platform/display/sdl/sdl_display.h"

namespace vel::platform {
namespace {

/// Set by RequireDesktopDisplay: the program to name when there is no desktop, instead of
/// falling back to the headless display.
const char* g_desktopRequiredBy = nullptr;

[[noreturn]] void EndWithoutDesktop(const std::string& whyNot) {
  std::fprintf(stderr, "%s: no desktop display is available (%s); set VELMORA_DISPLAY=headless to run without one\n",
               g_desktopRequiredBy, whyNot.c_str());
  std::exit(1);
}

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
    if (g_desktopRequiredBy != nullptr) EndWithoutDesktop(whyNot);
    std::fprintf(stderr, "display: no desktop display is available (%s), running headless\n", whyNot.c_str());
    return std::make_unique<HeadlessDisplay>();
  }
  if (g_desktopRequiredBy != nullptr) EndWithoutDesktop("unknown VELMORA_DISPLAY \"" + name + "\"");
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

void RequireDesktopDisplay(const char* programName) {
  g_desktopRequiredBy = programName;
  CurrentDisplay();
  g_desktopRequiredBy = nullptr;
}

HeadlessDisplay* CurrentHeadlessDisplay() { return dynamic_cast<HeadlessDisplay*>(&CurrentDisplay()); }

}  // namespace vel::platform

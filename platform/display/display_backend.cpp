#include "platform/display/display_backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/display/headless/headless_display.h"

namespace vel::platform {
namespace {

std::unique_ptr<DisplayBackend> CreateBackend() {
  const char* wanted = std::getenv("VELMORA_DISPLAY");
  if (wanted != nullptr && *wanted != '\0' && std::strcmp(wanted, "headless") != 0) {
    // Only the headless backend is built into this layer so far.
    std::fprintf(stderr, "display: backend \"%s\" is not available, using headless\n", wanted);
  }
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

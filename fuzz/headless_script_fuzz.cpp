// Input scripts for the headless display come from the environment: any bytes must be either
// queued as valid steps or refused with a message, never crash the parser.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/display/headless/headless_display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vel::platform::HeadlessDisplay* display = new vel::platform::HeadlessDisplay();
  std::string script(reinterpret_cast<const char*>(data), size);
  std::string error;
  display->QueueScript(script, &error);
  // Queued steps are dropped, not run: running them would need windows.
  while (display->ScriptPending()) display->DiscardScriptStep();
  return 0;
}

// Feeds arbitrary text to the resource compiler. Every file the script names reads as the
// input itself, so icon, cursor and bitmap parsing see hostile bytes too. Faults must end in a
// ScriptError, never a crash.

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/vel-rc/cpp_emitter.h"
#include "tools/vel-rc/resource_builder.h"
#include "tools/vel-rc/script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  vel::tools::FileReader reader = [&text](const std::string&) -> std::optional<std::string> { return text; };
  try {
    vel::tools::ResourceScript script = vel::tools::ParseResourceScript(text, "fuzz.rc", reader);
    std::vector<vel::tools::BuiltResource> built = vel::tools::BuildResources(script, "fuzz.rc", reader);
    vel::tools::EmitResourceSource(built, "FUZZ.DLL", "fuzz.rc");
  } catch (const vel::tools::ScriptError&) {
  }
  return 0;
}

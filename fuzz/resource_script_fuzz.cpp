// Feeds arbitrary text to the resource compiler. The input is a script, then a zero byte, then
// the contents every file it names reads as (without a zero byte, the script itself), so icon,
// cursor and bitmap parsing see hostile bytes too. Faults must end in a ScriptError, never a
// crash.

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/vel-rc/cpp_emitter.h"
#include "tools/vel-rc/resource_builder.h"
#include "tools/vel-rc/script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string text = input.substr(0, split);
  const std::string file = split == std::string::npos ? input : input.substr(split + 1);
  vel::tools::FileReader reader = [&file](const std::string&) -> std::optional<std::string> { return file; };
  try {
    vel::tools::ResourceScript script = vel::tools::ParseResourceScript(text, "fuzz.rc", reader);
    std::vector<vel::tools::BuiltResource> built = vel::tools::BuildResources(script, "fuzz.rc", reader);
    vel::tools::EmitResourceSource(built, "FUZZ.DLL", "fuzz.rc");
  } catch (const vel::tools::ScriptError&) {
  }
  return 0;
}

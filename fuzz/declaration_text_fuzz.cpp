// Compiles arbitrary declaration text as vel-wdc does, and checks what it accepts the way the
// tools promise to treat it: the compiled resource dumps back to text that compiles to the very
// same bytes. Faults in the text must end in a DeclarationError, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "tools/vel-wdc/lib/declaration_syntax.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_reader.h"
#include "tools/vel-wdc/lib/definition_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vel::tools;
  std::vector<std::uint8_t> compiled;
  try {
    compiled = WriteDefinitionResource(ParseDeclarations(std::string_view(reinterpret_cast<const char*>(data), size)));
  } catch (const DeclarationError&) {
    return 0;
  }
  const std::string dumped = PrintDeclarations(ReadDefinitionResource(compiled));
  try {
    if (WriteDefinitionResource(ParseDeclarations(dumped)) != compiled) std::abort();
  } catch (const DeclarationError&) {
    // What the dump prints must always compile again.
    std::abort();
  }
  return 0;
}

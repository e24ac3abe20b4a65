// Feeds arbitrary bytes to the window definition readers as a resource: the lookup, every
// record reachable from the chains, the dump back to declaration text, and vel-preview's
// loading path (the file's windows, the chosen window's records and variables).

#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "runtime/windows/current_definition.h"
#include "runtime/windows/definition_record.h"
#include "tools/vel-preview/lib/definition_file.h"
#include "tools/vel-preview/lib/preview_error.h"
#include "tools/vel-preview/lib/preview_variables.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_reader.h"

namespace {

using namespace vel::windows;

void Walk(const DefinitionView& view, std::uint32_t offset, std::set<std::uint32_t>& seen, int depth) {
  if (depth > 32) return;
  for (const Record& record : ReadChain(view, offset)) {
    if (!seen.insert(record.offset).second) return;
    Walk(view, record.firstChild, seen, depth + 1);
    Walk(view, record.menuBar, seen, depth + 1);
    Walk(view, record.toolBar, seen, depth + 1);
  }
}

// What vel-preview does with a compiled definition before it opens a window: every window the
// file names is chosen in turn and given its variables.
void LoadAsPreview(std::span<const std::uint8_t> resource) {
  try {
    vel::tools::DefinitionFile file =
        vel::tools::ReadDefinitionBytes("fuzz", std::vector<std::uint8_t>(resource.begin(), resource.end()));
    for (const std::string& label : file.labels) {
      try {
        vel::tools::ChosenWindow window = vel::tools::ChooseWindow(file, label);
        vel::tools::PreviewVariables variables(file.path, window.bindings);
        for (std::int32_t field : variables.Fields()) variables.Describe(field);
      } catch (const vel::tools::PreviewError&) {
        // A damaged window is refused; the others are still tried.
      }
    }
  } catch (const vel::tools::PreviewError&) {
    // A file the tool refuses as a whole.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> resource(data, size);
  // The leading name is taken from the input, so that every input reaches the body readers.
  std::string name;
  for (std::size_t i = 0; i < size && data[i] != 0; ++i) name += static_cast<char>(data[i]);
  std::vector<std::uint8_t> body = CopyDefinitionBody(resource, name);
  DefinitionView view(body);
  FindWindowRecord(view, "P1$WINNAME");
  std::set<std::uint32_t> seen;
  Walk(view, ReadOffsetField(view, 2), seen, 0);

  // Offsets taken from the input itself reach arbitrary places of the body.
  for (std::size_t at = 2; at + 4 <= body.size() && at < 256; at += 4) {
    std::uint32_t offset = ReadOffsetField(view, static_cast<std::uint32_t>(at));
    ReadRecord(view, offset);
    view.ReadFontRecord(offset);
    view.ReadUseDescriptor(offset);
    view.ReadResourceName(offset);
    view.ReadList(offset);
    view.ReadStringList(offset);
  }

  try {
    vel::tools::PrintDeclarations(vel::tools::ReadDefinitionResource(resource));
  } catch (const vel::tools::DeclarationError&) {
    // A resource without a terminated name is refused; that is the expected outcome.
  }
  LoadAsPreview(resource);
  return 0;
}

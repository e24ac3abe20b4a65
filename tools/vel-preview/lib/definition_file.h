#pragma once
// The file vel-preview opens: a window declaration, compiled here with the declaration
// compiler's library, or a compiled definition resource as vel-wdc -o writes it. Everything
// that can be wrong with the file is found here, before any window opens.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/windows/window_record_order.h"

namespace vel::tools {

struct DefinitionFile {
  std::string path;
  /// "skarvine$SKARV001": the name the resource begins with.
  std::string qualifiedName;
  /// The resource's bytes: the qualified name, its zero byte and the body.
  std::vector<std::uint8_t> resource;
  /// The labels of its window records, in chain order (a window without one has "").
  std::vector<std::string> labels;
};

/// Reads `path`. A file holding a zero byte is a compiled resource, any other is declaration
/// text. Throws PreviewError naming the file when it cannot be read, does not compile, has no
/// qualified name, no window, or a chain of windows that breaks.
DefinitionFile LoadDefinitionFile(const std::string& path);

/// Builds a definition file from resource bytes already in memory (`path` names them in
/// messages); the checks of LoadDefinitionFile for a compiled resource.
DefinitionFile ReadDefinitionBytes(const std::string& path, std::vector<std::uint8_t> resource);

/// The window the tool opens and the variables it binds, in the order the window takes them.
struct ChosenWindow {
  std::string label;
  std::vector<windows::UseBinding> bindings;
};

/// The window labelled `label`, else the first window of the file. Throws PreviewError when
/// no window has that label (the message lists those there are), when the first window has no
/// label to open it by, or when a record the window links to cannot be read.
ChosenWindow ChooseWindow(const DefinitionFile& file, const std::optional<std::string>& label);

}  // namespace vel::tools

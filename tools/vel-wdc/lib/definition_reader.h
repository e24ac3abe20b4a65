#pragma once
// Reads the bytes of a window definition resource back into a definition tree.

#include <cstdint>
#include <span>

#include "tools/vel-wdc/lib/declaration.h"

namespace vel::tools {

/// The tree held by a resource. Records are read through the runtime's bounds-checked readers,
/// so a damaged resource gives the records that can be read; a record reached a second time
/// (a link that loops) is left out. Throws DeclarationError when the resource has no
/// terminated qualified name.
DefinitionSource ReadDefinitionResource(std::span<const std::uint8_t> resource);

}  // namespace vel::tools

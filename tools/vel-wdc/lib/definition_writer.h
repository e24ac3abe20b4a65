#pragma once
// Writes a definition tree as the bytes of a window definition resource: the qualified name,
// its zero byte, and the offset-addressed body.

#include <cstdint>
#include <vector>

#include "tools/vel-wdc/lib/declaration.h"

namespace vel::tools {

/// The resource bytes of `source`. Each record's strings and sub-structures stand right before
/// it; a string that is a suffix of one already written is not written again but addressed in
/// the middle of the earlier one. Throws DeclarationError when the body would exceed the range
/// of offsets.
std::vector<std::uint8_t> WriteDefinitionResource(const DefinitionSource& source);

}  // namespace vel::tools

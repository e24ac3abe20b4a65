#pragma once
// Writes the C++ source that embeds built resources in a program: one byte array per resource,
// a table of vel::platform::ResourceEntry, and a static ResourceRegistration that hands the
// table to the named module (the program's own when the name is empty) at start-up.

#include <string>
#include <vector>

#include "tools/vel-rc/resource_builder.h"

namespace vel::tools {

/// The generated source text; `scriptName` only appears in its header comment.
std::string EmitResourceSource(const std::vector<BuiltResource>& resources, const std::string& moduleName,
                               const std::string& scriptName);

}  // namespace vel::tools

#pragma once
// Declaration text: reading it into a definition tree and printing a tree as text.

#include <string>
#include <string_view>

#include "tools/vel-wdc/lib/declaration.h"

namespace vel::tools {

/// Reads declaration text. Fields not given keep their defaults; a control without field(n)
/// takes the number after the last one given in the window (menu separators and toolbars take 0). Throws
/// DeclarationError with the line of the first fault.
DefinitionSource ParseDeclarations(std::string_view text);

/// Prints a tree as declaration text that ParseDeclarations reads back to the same tree.
std::string PrintDeclarations(const DefinitionSource& source);

}  // namespace vel::tools

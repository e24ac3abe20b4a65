#pragma once
// The tree a window definition resource describes: its qualified name and its windows, each
// with its menu bar, toolbar and controls, the containers with their children. Declaration
// text and resource bytes both convert to and from this tree.

#include <string>
#include <vector>

#include "runtime/windows/definition_record.h"

namespace vel::tools {

/// One record and the records it holds: a window's controls, an option box's radios, a group's
/// or toolbar's controls, a menu bar's menus, a menu's items and sub-menus.
struct Declaration {
  windows::Record record;
  std::vector<Declaration> children;
  std::vector<Declaration> menuBar;  ///< windows only: none or one
  std::vector<Declaration> toolBar;  ///< windows only: none or one
};

/// A whole resource: "skarvine$SKARV001" and its window definitions in chain order.
struct DefinitionSource {
  std::string qualifiedName;
  std::vector<Declaration> windows;
};

}  // namespace vel::tools

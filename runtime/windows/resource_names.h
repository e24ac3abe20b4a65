#pragma once
// Names of the resources a window definition refers to: the definition resource of a
// procedure module, and the icon and cursor resources its records name.

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/windows/definition_types.h"

namespace vel::windows {

/// The module part of a qualified name: the text after the first "$", or the whole name.
std::string_view ModuleNameOf(std::string_view qualifiedName);

/// The definition resource of a qualified name: "skarvine$SKARV001" -> "SKARV001_RSC".
std::string DefinitionResourceName(std::string_view qualifiedName);

/// The program resource named by an icon or cursor text of a definition: a leading "~" is
/// dropped, every "." becomes "_" and letters are upper-cased ("GET.ICO" -> "GET_ICO",
/// "Hand.cur" -> "HAND_CUR").
std::string ProgramResourceName(std::string_view text);

/// The text with ASCII letters upper-cased.
std::string UpperCase(std::string_view text);

/// What to ask the platform for when loading an icon or cursor named in a definition.
struct ResourceRequest {
  /// True for the platform's stock icons and cursors (loaded without a module); otherwise the
  /// resource belongs to the module the definition was found in.
  bool stock = false;
  /// True when the resource is named by `identifier` (MAKEINTRESOURCE), false for `name`.
  bool byIdentifier = false;
  std::uint16_t identifier = 0;
  std::string name;
};

/// The request for an icon or cursor name of a definition.
ResourceRequest RequestFor(const ResourceName& resourceName);

}  // namespace vel::windows

#pragma once
// Names of the resources a window definition refers to: the definition resource of a
// procedure module, and the icon and cursor resources its records name.

#include <string>
#include <string_view>

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

}  // namespace vel::windows

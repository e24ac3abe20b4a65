#pragma once
// How an image's name is read: a leading "~" names the program's own resources, the binary
// references and "!ICON:" names are icons, and otherwise the extension is the text from the
// last "." cut to four characters (so "LOGO.JPEG" has the extension ".JPE").

#include <string>
#include <string_view>

namespace vel::images {

/// Longest extension a kind can be registered with and a name is cut to, dot included.
constexpr std::size_t kMaxExtensionLength = 4;

struct ImageName {
  /// The name without a leading "~".
  std::string_view name;
  /// Set when the name began with "~".
  bool fromProgram = false;
  /// The extension the registry is searched for ("" for none), as given (case kept).
  std::string extension;
};

/// Splits a name given to open an image.
ImageName ReadImageName(std::string_view name);

/// The name after an "!ICON:" prefix (any case), or the name itself without one.
std::string_view StripIconPrefix(std::string_view name);

/// True when two texts (extensions) are equal apart from the case of ASCII letters.
bool SameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vel::images

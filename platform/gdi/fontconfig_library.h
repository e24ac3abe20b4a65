#pragma once
// fontconfig, opened the first time a face has to be matched instead of linked: a start whose
// faces all come from the font match store does not load it at all. The fontconfig header
// still gives the types and constants; the functions come from this table.

#include <fontconfig/fontconfig.h>

namespace vel::platform {

/// The fontconfig functions the font resolver calls.
struct FontconfigLibrary {
  decltype(&FcPatternCreate) patternCreate = nullptr;
  decltype(&FcPatternDestroy) patternDestroy = nullptr;
  decltype(&FcPatternAddString) patternAddString = nullptr;
  decltype(&FcPatternAddInteger) patternAddInteger = nullptr;
  decltype(&FcPatternAddBool) patternAddBool = nullptr;
  decltype(&FcPatternGetString) patternGetString = nullptr;
  decltype(&FcPatternGetInteger) patternGetInteger = nullptr;
  decltype(&FcConfigSubstitute) configSubstitute = nullptr;
  decltype(&FcDefaultSubstitute) defaultSubstitute = nullptr;
  decltype(&FcFontMatch) fontMatch = nullptr;
  decltype(&FcFini) fini = nullptr;
};

/// fontconfig, loaded once for the process (from any thread); null when it cannot be loaded,
/// which is reported once on standard error, and then faces match no file.
const FontconfigLibrary* Fontconfig();

}  // namespace vel::platform

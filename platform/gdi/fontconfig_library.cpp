#include "platform/gdi/fontconfig_library.h"

#include <cstdlib>

#include "platform/kernel/lazy_library_table.h"

namespace vel::platform {
namespace {

constexpr const char* kFontconfigLibraryName = "libfontconfig.so.1";

void ResolveFontconfig(LazyLibrary& library, FontconfigLibrary& table) {
  library.Resolve("FcPatternCreate", table.patternCreate);
  library.Resolve("FcPatternDestroy", table.patternDestroy);
  library.Resolve("FcPatternAddString", table.patternAddString);
  library.Resolve("FcPatternAddInteger", table.patternAddInteger);
  library.Resolve("FcPatternAddBool", table.patternAddBool);
  library.Resolve("FcPatternGetString", table.patternGetString);
  library.Resolve("FcPatternGetInteger", table.patternGetInteger);
  library.Resolve("FcConfigSubstitute", table.configSubstitute);
  library.Resolve("FcDefaultSubstitute", table.defaultSubstitute);
  library.Resolve("FcFontMatch", table.fontMatch);
  library.Resolve("FcFini", table.fini);
}

// fontconfig keeps its configuration and caches for the life of the process; releasing them at
// exit keeps leak checkers quiet about memory that was never lost.
void ReleaseAtExit(const FontconfigLibrary& table) {
  static decltype(&FcFini) fini = table.fini;
  std::atexit([] { fini(); });
}

}  // namespace

const FontconfigLibrary* Fontconfig() {
  static LazyLibraryTable<FontconfigLibrary> library(
      {kFontconfigLibraryName, ResolveFontconfig, "fonts:", "text cannot be drawn", ReleaseAtExit});
  return library.Get();
}

}  // namespace vel::platform

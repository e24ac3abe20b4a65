#include "platform/gdi/fontconfig_library.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/kernel/lazy_library.h"

namespace vel::platform {
namespace {

constexpr const char* kFontconfigLibraryName = "libfontconfig.so.1";

FontconfigLibrary g_fontconfig;
bool g_usable = false;

bool Load(std::string& whyNot) {
  FontconfigLibrary& found = g_fontconfig;
  LazyLibrary library(kFontconfigLibraryName);
  library.Resolve("FcPatternCreate", found.patternCreate);
  library.Resolve("FcPatternDestroy", found.patternDestroy);
  library.Resolve("FcPatternAddString", found.patternAddString);
  library.Resolve("FcPatternAddInteger", found.patternAddInteger);
  library.Resolve("FcPatternAddBool", found.patternAddBool);
  library.Resolve("FcPatternGetString", found.patternGetString);
  library.Resolve("FcPatternGetInteger", found.patternGetInteger);
  library.Resolve("FcConfigSubstitute", found.configSubstitute);
  library.Resolve("FcDefaultSubstitute", found.defaultSubstitute);
  library.Resolve("FcFontMatch", found.fontMatch);
  library.Resolve("FcFini", found.fini);
  return library.Complete(whyNot);
}

}  // namespace

const FontconfigLibrary* Fontconfig() {
  static std::once_flag loaded;
  std::call_once(loaded, [] {
    std::string whyNot;
    g_usable = Load(whyNot);
    if (!g_usable) {
      std::fprintf(stderr, "fonts: %s is not usable (%s); text cannot be drawn\n", kFontconfigLibraryName,
                   whyNot.c_str());
      return;
    }
    // fontconfig keeps its configuration and caches for the life of the process; releasing
    // them at exit keeps leak checkers quiet about memory that was never lost.
    std::atexit([] { g_fontconfig.fini(); });
  });
  return g_usable ? &g_fontconfig : nullptr;
}

}  // namespace vel::platform

#include "platform/winspool/cups_library.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace vel::platform {
namespace {

std::atomic<bool> g_withheld{false};

template <typename Function>
bool Resolve(void* library, const char* symbol, Function& target, std::string& whyNot) {
  target = reinterpret_cast<Function>(dlsym(library, symbol));
  if (target == nullptr && whyNot.empty()) whyNot = std::string("it has no ") + symbol;
  return target != nullptr;
}

}  // namespace

bool LoadCupsLibrary(const char* soname, CupsLibrary& table, std::string& whyNot) {
  table = CupsLibrary{};
  whyNot.clear();
  void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = dlerror();
    whyNot = error != nullptr ? error : "it cannot be opened";
    return false;
  }
  CupsLibrary found;
  // Every symbol is looked up, but only the first missing one is named.
  bool complete = Resolve(library, "cupsSetServer", found.setServer, whyNot);
  complete &= Resolve(library, "cupsGetDests2", found.getDests2, whyNot);
  complete &= Resolve(library, "cupsFreeDests", found.freeDests, whyNot);
  complete &= Resolve(library, "cupsGetOption", found.getOption, whyNot);
  complete &= Resolve(library, "cupsCopyDestInfo", found.copyDestInfo, whyNot);
  complete &= Resolve(library, "cupsFreeDestInfo", found.freeDestInfo, whyNot);
  complete &= Resolve(library, "cupsGetDestMediaCount", found.getDestMediaCount, whyNot);
  complete &= Resolve(library, "cupsGetDestMediaByIndex", found.getDestMediaByIndex, whyNot);
  complete &= Resolve(library, "cupsGetDestMediaDefault", found.getDestMediaDefault, whyNot);
  complete &= Resolve(library, "cupsFindDestDefault", found.findDestDefault, whyNot);
  complete &= Resolve(library, "cupsFindDestSupported", found.findDestSupported, whyNot);
  complete &= Resolve(library, "ippGetCount", found.getCount, whyNot);
  complete &= Resolve(library, "ippGetString", found.getString, whyNot);
  complete &= Resolve(library, "ippGetRange", found.getRange, whyNot);
  if (!complete) {
    dlclose(library);
    return false;
  }
  // The library stays loaded: its functions are kept in the table, and it keeps per-thread
  // state that must not outlive its code.
  table = found;
  return true;
}

const CupsLibrary* PrintingSystemLibrary() {
  static std::once_flag loaded;
  static CupsLibrary library;
  static bool usable = false;
  if (g_withheld.load(std::memory_order_relaxed)) return nullptr;
  std::call_once(loaded, [] {
    std::string whyNot;
    usable = LoadCupsLibrary(kCupsLibraryName, library, whyNot);
    if (!usable) {
      std::fprintf(stderr, "printing: the printing system's library %s is not usable (%s); there are no printers\n",
                   kCupsLibraryName, whyNot.c_str());
    }
  });
  return usable ? &library : nullptr;
}

void WithholdPrintingSystemLibrary(bool withheld) { g_withheld.store(withheld, std::memory_order_relaxed); }

}  // namespace vel::platform

#include "platform/winspool/cups_library.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/kernel/lazy_library.h"

namespace vel::platform {
namespace {

std::atomic<bool> g_withheld{false};

}  // namespace

bool LoadCupsLibrary(const char* soname, CupsLibrary& table, std::string& whyNot) {
  CupsLibrary found;
  LazyLibrary library(soname);
  library.Resolve("cupsSetServer", found.setServer);
  library.Resolve("cupsGetDests2", found.getDests2);
  library.Resolve("cupsFreeDests", found.freeDests);
  library.Resolve("cupsGetOption", found.getOption);
  library.Resolve("cupsCopyDestInfo", found.copyDestInfo);
  library.Resolve("cupsFreeDestInfo", found.freeDestInfo);
  library.Resolve("cupsGetDestMediaCount", found.getDestMediaCount);
  library.Resolve("cupsGetDestMediaByIndex", found.getDestMediaByIndex);
  library.Resolve("cupsGetDestMediaDefault", found.getDestMediaDefault);
  library.Resolve("cupsFindDestDefault", found.findDestDefault);
  library.Resolve("cupsFindDestSupported", found.findDestSupported);
  library.Resolve("ippGetCount", found.getCount);
  library.Resolve("ippGetString", found.getString);
  library.Resolve("ippGetRange", found.getRange);
  const bool complete = library.Complete(whyNot);
  table = complete ? found : CupsLibrary{};
  return complete;
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

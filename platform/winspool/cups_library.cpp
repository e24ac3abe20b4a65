#include "platform/winspool/cups_library.h"

#include "platform/kernel/lazy_library_table.h"

namespace vel::platform {
namespace {

void ResolveCups(LazyLibrary& library, CupsLibrary& table) {
  library.Resolve("cupsSetServer", table.setServer);
  library.Resolve("cupsGetDests2", table.getDests2);
  library.Resolve("cupsFreeDests", table.freeDests);
  library.Resolve("cupsGetOption", table.getOption);
  library.Resolve("cupsCopyDestInfo", table.copyDestInfo);
  library.Resolve("cupsFreeDestInfo", table.freeDestInfo);
  library.Resolve("cupsGetDestMediaCount", table.getDestMediaCount);
  library.Resolve("cupsGetDestMediaByIndex", table.getDestMediaByIndex);
  library.Resolve("cupsGetDestMediaDefault", table.getDestMediaDefault);
  library.Resolve("cupsFindDestDefault", table.findDestDefault);
  library.Resolve("cupsFindDestSupported", table.findDestSupported);
  library.Resolve("ippGetCount", table.getCount);
  library.Resolve("ippGetString", table.getString);
  library.Resolve("ippGetRange", table.getRange);
}

LazyLibraryTable<CupsLibrary>& Library() {
  static LazyLibraryTable<CupsLibrary> library(
      {kCupsLibraryName, ResolveCups, "printing: the printing system's library", "there are no printers"});
  return library;
}

}  // namespace

bool LoadCupsLibrary(const char* soname, CupsLibrary& table, std::string& whyNot) {
  return LoadLibraryTable(soname, ResolveCups, table, whyNot);
}

const CupsLibrary* PrintingSystemLibrary() { return Library().Get(); }

void WithholdPrintingSystemLibrary(bool withheld) { Library().Withhold(withheld); }

}  // namespace vel::platform

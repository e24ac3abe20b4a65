#pragma once
// libcups, opened on first use instead of linked: it and the libraries it needs (TLS, Kerberos,
// service discovery) are costly to load, and most runs of a program never ask for a printer.
// The cups headers still give the types and constants; the functions come from this table.

#include <cups/cups.h>

#include <string>

namespace vel::platform {

/// The libcups functions the printer catalog calls.
struct CupsLibrary {
  decltype(&cupsSetServer) setServer = nullptr;
  decltype(&cupsGetDests2) getDests2 = nullptr;
  decltype(&cupsFreeDests) freeDests = nullptr;
  decltype(&cupsGetOption) getOption = nullptr;
  decltype(&cupsCopyDestInfo) copyDestInfo = nullptr;
  decltype(&cupsFreeDestInfo) freeDestInfo = nullptr;
  decltype(&cupsGetDestMediaCount) getDestMediaCount = nullptr;
  decltype(&cupsGetDestMediaByIndex) getDestMediaByIndex = nullptr;
  decltype(&cupsGetDestMediaDefault) getDestMediaDefault = nullptr;
  decltype(&cupsFindDestDefault) findDestDefault = nullptr;
  decltype(&cupsFindDestSupported) findDestSupported = nullptr;
  decltype(&ippGetCount) getCount = nullptr;
  decltype(&ippGetString) getString = nullptr;
  decltype(&ippGetRange) getRange = nullptr;
};

/// The library's name on the system.
inline constexpr const char* kCupsLibraryName = "libcups.so.2";

/// Opens the shared object `soname` and resolves every function of the table. On success the
/// object stays loaded for the rest of the process. On failure `table` is left empty, the object
/// is closed again and `whyNot` says what was missing.
bool LoadCupsLibrary(const char* soname, CupsLibrary& table, std::string& whyNot);

/// The printing system's library, loaded once for the process (from any thread); null when it
/// is not installed or not usable, which means no printers. The first failure is reported in one
/// line on standard error.
const CupsLibrary* PrintingSystemLibrary();

/// Makes PrintingSystemLibrary answer null (true) or the loaded library again (false), so that
/// tests can see the spooler and the print dialogs on a system without the library.
void WithholdPrintingSystemLibrary(bool withheld);

}  // namespace vel::platform

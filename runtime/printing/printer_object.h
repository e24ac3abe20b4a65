#pragma once
// The printer that window operations name instead of a window (window reference -1): one per
// program, made on first use. It keeps the print dialog's record between uses (its size field
// is 0 while no printer is known), the printer's DEVMODE and DEVNAMES blocks and an
// information context for capability queries.

#include <cstdint>
#include <string>

#include "win32.h"

namespace vel::printing {

/// The window reference that names the printer.
inline constexpr std::int32_t kPrinterReference = -1;

struct PrinterObject {
  /// The print dialog record. The original kept a 66-byte record; this one is the platform's
  /// PRINTDLGA (pointer-sized handles), and its size field is sizeof(PRINTDLGA) once a printer
  /// is known.
  PRINTDLGA dialog{};
  HGLOBAL deviceMode = nullptr;
  HGLOBAL deviceNames = nullptr;
  HDC informationContext = nullptr;
  /// The file chosen for printing to a file (empty when printing goes to the printer).
  std::string outputFile;
};

/// The printer object, made on first use. Making it lists the printers once, which keeps the
/// platform profile's [Devices] section and "Windows" "device" key in step with the printers
/// installed, so that choosing by number and by name see the same printers.
PrinterObject& Printer();

/// Frees the object's blocks and context and forgets it (program end, tests).
void ResetPrinter();

/// Fills the print dialog record for the default printer when it is empty. No printer
/// installed leaves it empty without an error; any other failure raises error 524
/// "Unexpected error opening printer device".
void EnsureDefaultPrinter();

/// Chooses the printer by the printer-device property's text: a number n (leading blanks
/// allowed) is the default printer of the profile's "Windows" "device" key for 0, else the
/// n-th printer of its [Devices] section; any other text is a printer name looked up there.
/// The printer's DEVMODE and DEVNAMES become the object's and a new information context
/// replaces the old one. A printer that cannot be found or opened raises error 524.
void SetPrinterDevice(const std::string& text);

/// The chosen printer's name (empty when none is known).
std::string PrinterName();

/// The object's DEVMODE (zeroed when no printer is known).
DEVMODEA PrinterDeviceMode();

/// Replaces the object's DEVMODE with the fields of `mode` the printer accepts.
void SetPrinterDeviceMode(const DEVMODEA& mode);

/// Copies a global memory block (null for a null block).
HGLOBAL CopyBlock(HGLOBAL block);

}  // namespace vel::printing

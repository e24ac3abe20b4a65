#pragma once
// A printer's settings as a DEVMODEA, and the Win32 codes for its papers and sources.

#include <string>

#include "platform/winspool/printer_catalog.h"
#include "win32.h"

namespace vel::platform {

/// The DMPAPER_* code of a paper: the standard code of its size, else DMPAPER_USER + its
/// place in the printer's list.
short PaperCode(const PrinterDescription& printer, size_t index);

/// The DMBIN_* code of a source: the standard code of its name, else DMBIN_USER + its place.
short SourceCode(const PrinterDescription& printer, size_t index);

/// Index of the paper with this code or name in the printer's list, or -1.
int PaperIndexByCode(const PrinterDescription& printer, short code);
int PaperIndexByName(const PrinterDescription& printer, const std::string& name);

/// The name a person reads for a paper ("A4", "Letter", else the size in millimetres).
std::string PaperDisplayName(const PaperChoice& paper);

/// The printer's current settings as a DEVMODEA.
DEVMODEA MakeDeviceMode(const PrinterDescription& printer);

/// Takes the fields `input` marks in dmFields into `mode` where the printer accepts them.
void MergeDeviceMode(const PrinterDescription& printer, const DEVMODEA& input, DEVMODEA* mode);

}  // namespace vel::platform

#pragma once
// The printers as win.ini lists them: [Devices] with one key per printer ("name=winspool,CUPS:")
// and the default printer in [Windows] device= ("name,winspool,CUPS:"), the two ways programs
// find printers by name and by number.

#include <vector>

#include "platform/winspool/printer_catalog.h"

namespace vel::platform {

/// The driver and port every printer is listed with.
inline constexpr const char* kPrinterDriver = "winspool";
inline constexpr const char* kPrinterPort = "CUPS:";

/// Rewrites what differs so that [Devices] lists exactly these printers and device= names the
/// default one (removed when there is none); lines that already agree are left as they are.
void SyncPrinterProfile(const std::vector<PrinterDescription>& printers);

}  // namespace vel::platform

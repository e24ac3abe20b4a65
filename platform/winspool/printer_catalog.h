#pragma once
// The printers of the desktop's printing system as the spooler functions see them: each
// destination's name, whether it is the default, and the settings and choices that become
// DEVMODE fields and DeviceCapabilitiesA answers. printing_system.cpp is the only code that
// talks to the printing system (CUPS).

#include <optional>
#include <string>
#include <vector>

namespace vel::platform {

struct PaperChoice {
  /// The printing system's name for the size ("iso_a4_210x297mm", "na_letter_8.5x11in").
  std::string name;
  /// Size in hundredths of a millimetre.
  int width = 0;
  int length = 0;
};

struct PrinterDescription {
  std::string name;
  bool isDefault = false;
  std::string info;
  std::string location;
  std::vector<PaperChoice> papers;
  /// Paper sources ("auto", "manual", "tray-1"...), as the printing system names them.
  std::vector<std::string> sources;
  std::string defaultPaper;
  std::string defaultSource;
  bool landscape = false;
  int copies = 1;
  int maxCopies = 9999;
  bool collate = false;
  bool color = false;
};

/// Every printer, the default one marked; empty without a printing system or printers.
std::vector<PrinterDescription> ListPrinters();

/// One printer by its name (compared without regard to case), with its paper and source
/// choices filled in.
std::optional<PrinterDescription> DescribePrinter(const std::string& name);

/// The printing system's default printer's name, if it has one.
std::optional<std::string> DefaultPrinterName();

}  // namespace vel::platform

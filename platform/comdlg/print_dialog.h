#pragma once
// The print and print-setup dialogs: the state of one while it runs and their built-in
// templates. print_dialog_procedure.cpp works them; print_dialog.cpp is PrintDlgA.

#include <vector>

#include "platform/comdlg/common_dialog.h"
#include "platform/winspool/printer_catalog.h"
#include "win32.h"

namespace vel::platform {

struct PrintDialog {
  PRINTDLGA* request = nullptr;
  /// The print-setup form (paper, source, orientation) rather than the print form.
  bool setup = false;
  /// The setup form shown for one printer's properties from the print form: the printer
  /// cannot be changed there.
  bool propertiesOnly = false;
  CommonDialogHook hook;
  std::vector<PrinterDescription> printers;
  size_t printer = 0;
  /// The chosen printer's paper and source choices.
  PrinterDescription details;
  DEVMODEA mode{};
  bool accepted = false;
};

DialogTemplate StandardPrintTemplate();
DialogTemplate StandardSetupTemplate();

/// Runs one of the two forms over `state`; true when the user chose OK.
bool RunPrintDialog(PrintDialog& state, HWND owner, HINSTANCE instance, const DialogTemplate& dialogTemplate);

}  // namespace vel::platform

// PrintDlgA: the default printer without a dialog (PD_RETURNDEFAULT), or the print or
// print-setup dialog, and what they hand back: the DEVMODE and DEVNAMES blocks, the range,
// copies and flags, and a device or information context when asked for one.

#include <strings.h>

#include <algorithm>

#include "platform/comdlg/device_blocks.h"
#include "platform/comdlg/print_dialog.h"
#include "platform/winspool/device_mode.h"
#include "platform/winspool/printer_profile.h"

namespace vel::platform {
namespace {

// The printer the request names through its blocks, else the default one, else the first.
size_t StartingPrinter(const PRINTDLGA& request, const std::vector<PrinterDescription>& printers) {
  std::optional<std::string> wanted = DeviceNameOf(request.hDevNames);
  if (!wanted) {
    if (std::optional<DEVMODEA> mode = DeviceModeOf(request.hDevMode)) {
      wanted = std::string(reinterpret_cast<const char*>(mode->dmDeviceName));
    }
  }
  for (size_t i = 0; wanted && i < printers.size(); ++i) {
    if (strcasecmp(printers[i].name.c_str(), wanted->c_str()) == 0) return i;
  }
  for (size_t i = 0; i < printers.size(); ++i) {
    if (printers[i].isDefault) return i;
  }
  return 0;
}

void HandBack(PRINTDLGA& request, const PrinterDescription& printer, const DEVMODEA& mode) {
  ReplaceBlock(&request.hDevMode, MakeDeviceModeBlock(mode));
  ReplaceBlock(&request.hDevNames, MakeDeviceNamesBlock(printer.name, printer.isDefault));
  request.hDC = nullptr;
  if (request.Flags & PD_RETURNDC) {
    request.hDC = CreateDCA(kPrinterDriver, printer.name.c_str(), kPrinterPort, &mode);
  } else if (request.Flags & PD_RETURNIC) {
    request.hDC = CreateICA(kPrinterDriver, printer.name.c_str(), kPrinterPort, &mode);
  }
}

BOOL ReturnDefault(PRINTDLGA& request, const std::vector<PrinterDescription>& printers) {
  // The blocks must be empty: the default printer's are made for the caller.
  if (request.hDevMode != nullptr || request.hDevNames != nullptr) {
    SetCommonDialogError(PDERR_RETDEFFAILURE);
    return FALSE;
  }
  auto found = std::find_if(printers.begin(), printers.end(), [](const PrinterDescription& p) { return p.isDefault; });
  if (found == printers.end()) {
    SetCommonDialogError(printers.empty() ? PDERR_NODEVICES : PDERR_NODEFAULTPRN);
    return FALSE;
  }
  std::optional<PrinterDescription> details = DescribePrinter(found->name);
  if (!details) {
    SetCommonDialogError(PDERR_PRINTERNOTFOUND);
    return FALSE;
  }
  HandBack(request, *details, MakeDeviceMode(*details));
  return TRUE;
}

}  // namespace
}  // namespace vel::platform

BOOL WINAPI PrintDlgA(LPPRINTDLGA pPD) {
  using namespace vel::platform;
  SetCommonDialogError(0);
  if (pPD == nullptr || pPD->lStructSize != sizeof(PRINTDLGA)) {
    SetCommonDialogError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  PRINTDLGA& request = *pPD;
  std::vector<PrinterDescription> printers = ListPrinters();
  if (request.Flags & PD_RETURNDEFAULT) return ReturnDefault(request, printers);
  bool setup = (request.Flags & PD_PRINTSETUP) != 0;
  if (printers.empty()) {
    MessageBoxA(request.hwndOwner, "No printers are installed.\nAdd a printer to the desktop's printing system first.",
                setup ? "Print Setup" : "Print", MB_OK | MB_ICONEXCLAMATION);
    SetCommonDialogError(PDERR_NODEVICES);
    return FALSE;
  }
  PrintDialog state;
  state.request = &request;
  state.setup = setup;
  state.printers = printers;
  state.printer = StartingPrinter(request, printers);
  if (std::optional<DEVMODEA> given = DeviceModeOf(request.hDevMode)) state.mode = *given;
  DWORD hookFlag = setup ? PD_ENABLESETUPHOOK : PD_ENABLEPRINTHOOK;
  if (request.Flags & hookFlag) {
    state.hook.procedure = setup ? request.lpfnSetupHook : request.lpfnPrintHook;
    if (state.hook.procedure == nullptr) {
      SetCommonDialogError(CDERR_NOHOOK);
      return FALSE;
    }
  }
  std::optional<DialogTemplate> dialogTemplate;
  DWORD templateFlag = setup ? PD_ENABLESETUPTEMPLATE : PD_ENABLEPRINTTEMPLATE;
  if (request.Flags & templateFlag) {
    dialogTemplate = CallerTemplate(request.hInstance, setup ? request.lpSetupTemplateName : request.lpPrintTemplateName);
    if (!dialogTemplate) return FALSE;
  } else {
    dialogTemplate = setup ? StandardSetupTemplate() : StandardPrintTemplate();
  }
  if (!RunPrintDialog(state, request.hwndOwner, request.hInstance, *dialogTemplate)) return FALSE;
  HandBack(request, state.details, state.mode);
  return TRUE;
}

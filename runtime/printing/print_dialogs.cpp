// The print dialog and its print-setup form for the printer object.

#include "runtime/printing/common_dialogs.h"
#include "runtime/printing/printer_object.h"
#include "runtime/windows/thread_runtime.h"

namespace vel::printing {
namespace {

constexpr DWORD kKeptFlags = PD_PRINTTOFILE | PD_COLLATE | PD_PAGENUMS;  // 0x32
constexpr DWORD kAddedFlags = PD_NOSELECTION | PD_ENABLEPRINTHOOK | PD_USEDEVMODECOPIES;  // 0x41004

void TakeResult(PrinterObject& printer) {
  if (printer.deviceMode != nullptr) GlobalFree(printer.deviceMode);
  if (printer.deviceNames != nullptr) GlobalFree(printer.deviceNames);
  printer.deviceMode = CopyBlock(printer.dialog.hDevMode);
  printer.deviceNames = CopyBlock(printer.dialog.hDevNames);
  if (printer.informationContext != nullptr) DeleteDC(printer.informationContext);
  std::string name = PrinterName();
  DEVMODEA mode = PrinterDeviceMode();
  printer.informationContext = CreateICA("winspool", name.c_str(), nullptr, &mode);
}

}  // namespace

UINT_PTR CALLBACK RuntimeDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr && IsWindowVisible(owner)) GetWindowRect(owner, &area);
  RECT frame{};
  GetWindowRect(dialog, &frame);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return FALSE;
}

bool RunPrintDialog(HWND owner, bool setup) {
  EnsureDefaultPrinter();
  PrinterObject& printer = Printer();
  PRINTDLGA& dialog = printer.dialog;
  // With no printer known the dialog still opens, so that it can say there is none.
  if (dialog.lStructSize == 0) {
    dialog.nFromPage = 0xFFFF;
    dialog.nToPage = 0xFFFF;
    dialog.nMaxPage = 0xFFFE;
  }
  dialog.lStructSize = sizeof(PRINTDLGA);
  dialog.hwndOwner = owner;
  dialog.Flags = (dialog.Flags & kKeptFlags) | kAddedFlags | (setup ? PD_PRINTSETUP | PD_ENABLESETUPHOOK : 0);
  if (dialog.nMinPage == 0xFFFF) dialog.Flags |= PD_NOPAGENUMS;
  WORD maximum = dialog.nMaxPage;
  if (maximum == 0xFFFE) dialog.nMaxPage = 0xFFFF;
  dialog.lpfnPrintHook = RuntimeDialogHook;
  dialog.lpfnSetupHook = RuntimeDialogHook;
  BOOL chosen = FALSE;
  {
    windows::BlockingPlatformCall unlocked;
    chosen = PrintDlgA(&dialog);
  }
  dialog.nMaxPage = maximum;
  dialog.hwndOwner = nullptr;
  if (!chosen) {
    // A program without printers keeps an empty record, as the default-printer query leaves it.
    if (CommDlgExtendedError() == PDERR_NODEVICES) dialog = PRINTDLGA{};
    return false;
  }
  TakeResult(printer);
  printer.outputFile.clear();
  if (!setup && (dialog.Flags & PD_PRINTTOFILE)) {
    std::string file;
    if (RunFileDialog(owner, "Print To File...", "All files (*.*)|*.*", 0, true, file)) {
      printer.outputFile = file;
    } else {
      dialog.Flags &= ~static_cast<DWORD>(PD_PRINTTOFILE);
    }
  }
  return true;
}

void PrintSetupAction(HWND owner) { RunPrintDialog(owner, true); }

}  // namespace vel::printing

// Working the print and print-setup dialogs: choosing the printer (its status, type, place and
// comment shown beneath), paper size, source and orientation in the setup form, the range,
// copies, collation and print to file in the print form, and the checks OK makes. The caller's
// hook sees each message first.

#include <algorithm>
#include <string>

#include "platform/comdlg/print_dialog.h"
#include "platform/user/dialog_box.h"
#include "platform/winspool/device_mode.h"

namespace vel::platform {
namespace {

constexpr int kMaxCopies = 9999;

PrintDialog* StateOf(HWND dialog) { return reinterpret_cast<PrintDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

int PrinterList(const PrintDialog& state) { return state.setup ? cmb1 : cmb4; }

void ShowPrinterFacts(HWND dialog, const PrintDialog& state) {
  const PrinterDescription& printer = state.details;
  SetDlgItemTextA(dialog, stc8, printer.isDefault ? "Default printer; Ready" : "Ready");
  SetDlgItemTextA(dialog, stc5, printer.info.empty() ? printer.name.c_str() : printer.info.c_str());
  SetDlgItemTextA(dialog, stc6, printer.location.empty() ? "CUPS:" : printer.location.c_str());
  SetDlgItemTextA(dialog, stc7, "");
}

void FillPaper(HWND dialog, const PrintDialog& state) {
  SendDlgItemMessageA(dialog, cmb2, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < state.details.papers.size(); ++i) {
    std::string name = PaperDisplayName(state.details.papers[i]);
    auto row = SendDlgItemMessageA(dialog, cmb2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendDlgItemMessageA(dialog, cmb2, CB_SETITEMDATA, static_cast<WPARAM>(row), PaperCode(state.details, i));
    if (PaperCode(state.details, i) == state.mode.dmPaperSize) SendDlgItemMessageA(dialog, cmb2, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
  SendDlgItemMessageA(dialog, cmb3, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < state.details.sources.size(); ++i) {
    auto row = SendDlgItemMessageA(dialog, cmb3, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(state.details.sources[i].c_str()));
    SendDlgItemMessageA(dialog, cmb3, CB_SETITEMDATA, static_cast<WPARAM>(row), SourceCode(state.details, i));
    if (SourceCode(state.details, i) == state.mode.dmDefaultSource) SendDlgItemMessageA(dialog, cmb3, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
  CheckRadioButton(dialog, rad1, rad2, state.mode.dmOrientation == DMORIENT_LANDSCAPE ? rad2 : rad1);
}

// Makes printer `index` the chosen one, its settings taking over what the dialog shows; the
// settings the caller passed in stay where that printer accepts them.
void ChoosePrinter(HWND dialog, PrintDialog& state, size_t index, const DEVMODEA* keep) {
  if (index >= state.printers.size()) return;
  state.printer = index;
  std::optional<PrinterDescription> details = DescribePrinter(state.printers[index].name);
  state.details = details ? *details : state.printers[index];
  DEVMODEA mode = MakeDeviceMode(state.details);
  if (keep != nullptr) MergeDeviceMode(state.details, *keep, &mode);
  state.mode = mode;
  ShowPrinterFacts(dialog, state);
  if (state.setup) FillPaper(dialog, state);
}

void TakeSetupChoices(HWND dialog, PrintDialog& state) {
  DEVMODEA wanted{};
  wanted.dmSize = sizeof wanted;
  wanted.dmFields = DM_ORIENTATION;
  wanted.dmOrientation = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  auto paper = SendDlgItemMessageA(dialog, cmb2, CB_GETCURSEL, 0, 0);
  if (paper >= 0) {
    wanted.dmFields |= DM_PAPERSIZE;
    wanted.dmPaperSize = static_cast<short>(SendDlgItemMessageA(dialog, cmb2, CB_GETITEMDATA, static_cast<WPARAM>(paper), 0));
  }
  auto source = SendDlgItemMessageA(dialog, cmb3, CB_GETCURSEL, 0, 0);
  if (source >= 0) {
    wanted.dmFields |= DM_DEFAULTSOURCE;
    wanted.dmDefaultSource = static_cast<short>(SendDlgItemMessageA(dialog, cmb3, CB_GETITEMDATA, static_cast<WPARAM>(source), 0));
  }
  MergeDeviceMode(state.details, wanted, &state.mode);
}

void InitialisePrintForm(HWND dialog, PrintDialog& state) {
  const PRINTDLGA& request = *state.request;
  bool pages = !(request.Flags & PD_NOPAGENUMS);
  CheckRadioButton(dialog, rad1, rad3, (request.Flags & PD_PAGENUMS) && pages ? rad3 : (request.Flags & PD_SELECTION) ? rad2 : rad1);
  EnableWindow(GetDlgItem(dialog, rad2), !(request.Flags & PD_NOSELECTION));
  for (int id : {rad3, edt1, edt2, stc2, stc3}) EnableWindow(GetDlgItem(dialog, id), pages);
  if (pages && request.nFromPage != 0xFFFF) SetDlgItemInt(dialog, edt1, request.nFromPage, FALSE);
  if (pages && request.nToPage != 0xFFFF) SetDlgItemInt(dialog, edt2, request.nToPage, FALSE);
  bool devmodeCopies = (request.Flags & PD_USEDEVMODECOPIES) != 0;
  SetDlgItemInt(dialog, edt3, devmodeCopies ? std::max<int>(1, state.mode.dmCopies) : std::max<int>(1, request.nCopies), FALSE);
  bool collate = devmodeCopies ? state.mode.dmCollate == DMCOLLATE_TRUE : (request.Flags & PD_COLLATE) != 0;
  CheckDlgButton(dialog, chx2, (collate || (request.Flags & PD_COLLATE)) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, chx1, (request.Flags & PD_PRINTTOFILE) ? BST_CHECKED : BST_UNCHECKED);
  if (request.Flags & PD_HIDEPRINTTOFILE) ShowWindow(GetDlgItem(dialog, chx1), SW_HIDE);
  EnableWindow(GetDlgItem(dialog, chx1), !(request.Flags & PD_DISABLEPRINTTOFILE));
  SendDlgItemMessageA(dialog, edt3, EM_LIMITTEXT, 4, 0);
  SendDlgItemMessageA(dialog, edt1, EM_LIMITTEXT, 5, 0);
  SendDlgItemMessageA(dialog, edt2, EM_LIMITTEXT, 5, 0);
}

// The range and copies typed in the print form; false (after telling the user) when they
// cannot be used.
bool CheckPrintForm(HWND dialog, PrintDialog& state) {
  PRINTDLGA& request = *state.request;
  BOOL valid = FALSE;
  UINT copies = GetDlgItemInt(dialog, edt3, &valid, FALSE);
  if (!valid || copies < 1 || copies > kMaxCopies) {
    DialogMessage(dialog, "The number of copies must be between 1 and 9999.", MB_OK | MB_ICONEXCLAMATION);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, edt3)), TRUE);
    return false;
  }
  bool pages = IsDlgButtonChecked(dialog, rad3) == BST_CHECKED;
  UINT from = 0;
  UINT to = 0;
  if (pages) {
    BOOL fromValid = FALSE;
    BOOL toValid = FALSE;
    from = GetDlgItemInt(dialog, edt1, &fromValid, FALSE);
    to = GetDlgItemInt(dialog, edt2, &toValid, FALSE);
    if (!toValid) to = from;
    UINT lowest = request.nMinPage;
    UINT highest = request.nMaxPage;
    if (!fromValid || from < lowest || to > highest || from > to) {
      DialogMessage(dialog,
                    "This value is not within the page range.\nEnter a number between " + std::to_string(lowest) +
                        " and " + std::to_string(highest) + ".",
                    MB_OK | MB_ICONEXCLAMATION);
      SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, edt1)), TRUE);
      return false;
    }
  }
  request.Flags &= ~static_cast<DWORD>(PD_PAGENUMS | PD_SELECTION | PD_PRINTTOFILE | PD_COLLATE);
  if (pages) {
    request.Flags |= PD_PAGENUMS;
    request.nFromPage = static_cast<WORD>(from);
    request.nToPage = static_cast<WORD>(to);
  } else if (IsDlgButtonChecked(dialog, rad2) == BST_CHECKED) {
    request.Flags |= PD_SELECTION;
  }
  if (IsDlgButtonChecked(dialog, chx1) == BST_CHECKED) request.Flags |= PD_PRINTTOFILE;
  bool collate = IsDlgButtonChecked(dialog, chx2) == BST_CHECKED;
  if (request.Flags & PD_USEDEVMODECOPIES) {
    state.mode.dmCopies = static_cast<short>(copies);
    state.mode.dmCollate = collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    request.nCopies = 1;
  } else {
    request.nCopies = static_cast<WORD>(copies);
    state.mode.dmCopies = 1;
  }
  if (collate) request.Flags |= PD_COLLATE;
  return true;
}

// The print form's Properties: the setup form for the chosen printer alone.
void ShowProperties(HWND dialog, PrintDialog& state) {
  PrintDialog properties;
  properties.request = state.request;
  properties.setup = true;
  properties.propertiesOnly = true;
  properties.printers = {state.printers[state.printer]};
  properties.mode = state.mode;
  DialogTemplate dialogTemplate = StandardSetupTemplate();
  dialogTemplate.title = state.printers[state.printer].name + " Properties";
  if (RunPrintDialog(properties, dialog, nullptr, dialogTemplate)) state.mode = properties.mode;
}

void Initialise(HWND dialog, PrintDialog& state) {
  HWND list = GetDlgItem(dialog, PrinterList(state));
  for (size_t i = 0; i < state.printers.size(); ++i) {
    auto row = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(state.printers[i].name.c_str()));
    SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(i));
  }
  SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(state.printers[state.printer].name.c_str()));
  DEVMODEA keep = state.mode;
  ChoosePrinter(dialog, state, state.printer, &keep);
  if (state.propertiesOnly) EnableWindow(list, FALSE);
  if (!state.setup) InitialisePrintForm(dialog, state);
}

void Command(HWND dialog, PrintDialog& state, int id, int code) {
  if (id == PrinterList(state) && code == CBN_SELCHANGE) {
    auto row = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (row < 0) return;
    auto index = static_cast<size_t>(SendDlgItemMessageA(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(row), 0));
    DEVMODEA keep = state.mode;
    ChoosePrinter(dialog, state, index, &keep);
    return;
  }
  switch (id) {
    case psh2: ShowProperties(dialog, state); return;
    case IDOK:
      if (state.setup) {
        TakeSetupChoices(dialog, state);
      } else if (!CheckPrintForm(dialog, state)) {
        return;
      }
      state.accepted = true;
      EndDialog(dialog, IDOK);
      return;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return;
    default: return;
  }
}

INT_PTR CALLBACK PrintDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* state = reinterpret_cast<PrintDialog*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    Initialise(dialog, *state);
    state->hook.Offer(dialog, message, wParam, reinterpret_cast<LPARAM>(state->request));
    return TRUE;
  }
  PrintDialog* state = StateOf(dialog);
  if (state == nullptr) return FALSE;
  if (state->hook.Offer(dialog, message, wParam, lParam)) return TRUE;
  if (message == WM_COMMAND) {
    Command(dialog, *state, LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

bool RunPrintDialog(PrintDialog& state, HWND owner, HINSTANCE instance, const DialogTemplate& dialogTemplate) {
  DialogTemplate shown = dialogTemplate;
  shown.style &= ~WS_VISIBLE;
  HWND dialog = CreateDialogFromTemplate(instance, shown, owner, PrintDialogProcedure, reinterpret_cast<LPARAM>(&state));
  if (dialog == nullptr) {
    SetCommonDialogError(CDERR_DIALOGFAILURE);
    return false;
  }
  return RunModalDialog(dialog, owner) == IDOK && state.accepted;
}

}  // namespace vel::platform

#include "platform/comdlg/print_dialog.h"
#include "platform/comdlg/template_builder.h"

namespace vel::platform {
namespace {

// The printer group both forms begin with: the printer to use and what is known about it.
void PrinterGroup(TemplateBuilder& dialog, int printerList, bool withProperties) {
  dialog.Group("Printer", grp4, 8, 7, 272, 82)
      .Label("&Name:", stc1, 16, 22, 36, 8)
      .Drop(printerList, 54, 20, 152, 90, CBS_HASSTRINGS | CBS_SORT);
  if (withProperties) dialog.Push("&Properties", psh2, 212, 19, 60, 14);
  dialog.Label("Status:", -1, 16, 40, 36, 8)
      .Label("", stc8, 54, 40, 220, 8, SS_LEFT | SS_NOPREFIX)
      .Label("Type:", -1, 16, 52, 36, 8)
      .Label("", stc5, 54, 52, 220, 8, SS_LEFT | SS_NOPREFIX)
      .Label("Where:", -1, 16, 64, 36, 8)
      .Label("", stc6, 54, 64, 220, 8, SS_LEFT | SS_NOPREFIX)
      .Label("Comment:", -1, 16, 76, 36, 8)
      .Label("", stc7, 54, 76, 150, 8, SS_LEFT | SS_NOPREFIX);
}

}  // namespace

DialogTemplate StandardPrintTemplate() {
  TemplateBuilder dialog("Print", 288, 176);
  PrinterGroup(dialog, cmb4, true);
  dialog.Check("Print to fi&le", chx1, 212, 74, 64, 12)
      .Group("Print range", grp1, 8, 94, 144, 58)
      .Radio("&All", rad1, 16, 106, 64, 12, true)
      .Radio("Pa&ges", rad3, 16, 120, 36, 12, false)
      .Radio("&Selection", rad2, 16, 134, 64, 12, false)
      .Label("&from:", stc2, 56, 122, 20, 8)
      .Edit(edt1, 76, 120, 26, 12, ES_NUMBER)
      .Label("&to:", stc3, 106, 122, 14, 8)
      .Edit(edt2, 120, 120, 26, 12, ES_NUMBER)
      .Group("Copies", grp2, 160, 94, 120, 58)
      .Label("Number of &copies:", stc4, 168, 108, 68, 8)
      .Edit(edt3, 240, 106, 32, 12, ES_NUMBER)
      .Check("C&ollate", chx2, 168, 130, 64, 12)
      .Push("OK", IDOK, 180, 156, 48, 14, true)
      .Push("Cancel", IDCANCEL, 232, 156, 48, 14);
  return dialog.Template();
}

DialogTemplate StandardSetupTemplate() {
  TemplateBuilder dialog("Print Setup", 288, 176);
  PrinterGroup(dialog, cmb1, false);
  dialog.Group("Paper", grp2, 8, 94, 164, 56)
      .Label("Si&ze:", stc2, 16, 108, 36, 8)
      .Drop(cmb2, 54, 106, 112, 90, CBS_HASSTRINGS)
      .Label("&Source:", stc3, 16, 128, 36, 8)
      .Drop(cmb3, 54, 126, 112, 90, CBS_HASSTRINGS)
      .Group("Orientation", grp1, 180, 94, 100, 56)
      .Radio("P&ortrait", rad1, 190, 108, 80, 12, true)
      .Radio("L&andscape", rad2, 190, 126, 80, 12, false)
      .Push("OK", IDOK, 180, 156, 48, 14, true)
      .Push("Cancel", IDCANCEL, 232, 156, 48, 14);
  return dialog.Template();
}

}  // namespace vel::platform

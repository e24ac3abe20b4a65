#include "platform/comdlg/file_dialog.h"
#include "platform/comdlg/template_builder.h"

namespace vel::platform {

DialogTemplate StandardFileTemplate(bool save) {
  TemplateBuilder dialog(save ? "Save As" : "Open", 268, 136);
  dialog.Label("File &name:", stc3, 6, 6, 76, 9)
      .Edit(edt1, 6, 16, 90, 12)
      .List(lst1, 6, 32, 90, 68, LBS_SORT | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL)
      .Label("&Folders:", -1, 110, 6, 96, 9)
      .Label("", stc1, 110, 18, 96, 9, SS_LEFT | SS_NOPREFIX)
      .List(lst2, 110, 32, 92, 68,
            LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL)
      .Label(save ? "Save file as &type:" : "List files of &type:", stc2, 6, 104, 90, 9)
      .Drop(cmb1, 6, 114, 90, 60, CBS_HASSTRINGS)
      .Label("&Places:", stc4, 110, 104, 92, 9)
      .Drop(cmb2, 110, 114, 92, 68, CBS_HASSTRINGS)
      .Push("OK", IDOK, 212, 6, 50, 14, true)
      .Push("Cancel", IDCANCEL, 212, 24, 50, 14)
      .Push("&Help", pshHelp, 212, 46, 50, 14)
      .Check("&Read only", chx1, 212, 68, 50, 12);
  return dialog.Template();
}

}  // namespace vel::platform

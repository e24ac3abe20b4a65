#pragma once
// Dialog boxes made from templates: creation (font, dialog units, controls, WM_INITDIALOG), the
// modal loop of DialogBox* and the common dialogs, and a way for tests and automation to drive
// a modal dialog on the thread that runs it.
//
// Who works a modal dialog: the user; input queued on the headless display (tests, scripts);
// an installed driver, called at each quiet moment (all input handled, the dialog painted),
// which may send input or end the dialog. On the headless display with no driver action and no
// script left, the dialog ends as if cancelled (IDCANCEL), and "[caption] dialog ended
// unattended" goes to standard error, so that an unattended run never waits forever.

#include <functional>
#include <optional>

#include "platform/user/dialog_template.h"
#include "win32.h"

namespace vel::platform {

/// Creates the dialog a template describes, owned by `owner`, with `procedure` as its dialog
/// procedure; it shows when the template says WS_VISIBLE. Null when a window cannot be made.
HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND owner,
                              DLGPROC procedure, LPARAM parameter);

/// Shows a dialog modally: its owner is disabled until EndDialog, then the dialog is destroyed.
/// Returns what EndDialog was given.
INT_PTR RunModalDialog(HWND dialog, HWND owner);

/// Called at quiet moments of a modal dialog; true when it did something (sent input, ended
/// the dialog) and should be called again at the next quiet moment.
using ModalDialogDriver = std::function<bool(HWND dialog)>;

/// Installs the driver for this process's modal dialogs; null removes it.
void SetModalDialogDriver(ModalDialogDriver driver);

/// Releases what a dialog made from a template kept (its font); DefDlgProcA calls it at
/// WM_NCDESTROY.
void ForgetDialogUnits(HWND dialog);

/// Loads a template from a module's RT_DIALOG resources; nothing when missing or damaged.
std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE instance, LPCSTR name);

}  // namespace vel::platform

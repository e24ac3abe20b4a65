#pragma once
// What the common dialogs share: the thread's extended error (CommDlgExtendedError), the
// caller's hook, which sees each message before the dialog does, and where their templates come
// from (the built-in one, or the caller's own from its module).

#include <optional>

#include "platform/user/dialog_template.h"
#include "win32.h"

namespace vel::platform {

/// Records the reason the current common dialog call fails (0 for success or cancel).
void SetCommonDialogError(DWORD code);

/// A hook procedure of the caller (any of the LP*HOOKPROC types) and whether it is enabled.
struct CommonDialogHook {
  UINT_PTR(CALLBACK* procedure)(HWND, UINT, WPARAM, LPARAM) = nullptr;

  /// Lets the hook see a message first; true when it handled it (the dialog then does not).
  bool Offer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) const {
    return procedure != nullptr && procedure(dialog, message, wParam, lParam) != 0;
  }
};

/// The caller's template named `name` in module `instance`; sets CDERR_FINDRESFAILURE or
/// CDERR_LOADRESFAILURE when it is missing or damaged.
std::optional<DialogTemplate> CallerTemplate(HINSTANCE instance, LPCSTR name);

/// Shows a message box over the dialog with its caption.
int DialogMessage(HWND dialog, const std::string& text, UINT type);

}  // namespace vel::platform

#include "platform/comdlg/common_dialog.h"

#include <string>

#include "platform/user/dialog_box.h"

namespace vel::platform {
namespace {

thread_local DWORD t_lastError = 0;

}  // namespace

void SetCommonDialogError(DWORD code) { t_lastError = code; }

std::optional<DialogTemplate> CallerTemplate(HINSTANCE instance, LPCSTR name) {
  if (name == nullptr || FindResourceA(instance, name, RT_DIALOG) == nullptr) {
    SetCommonDialogError(CDERR_FINDRESFAILURE);
    return std::nullopt;
  }
  std::optional<DialogTemplate> loaded = LoadDialogTemplate(instance, name);
  if (!loaded) SetCommonDialogError(CDERR_LOADRESFAILURE);
  return loaded;
}

int DialogMessage(HWND dialog, const std::string& text, UINT type) {
  char caption[128] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  return MessageBoxA(dialog, text.c_str(), caption, type);
}

}  // namespace vel::platform

DWORD WINAPI CommDlgExtendedError(void) { return vel::platform::t_lastError; }

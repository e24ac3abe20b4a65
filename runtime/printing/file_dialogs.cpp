// The open and save dialogs and the directory chooser.

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/printing/common_dialogs.h"
#include "runtime/values/locale_settings.h"
#include "runtime/windows/thread_runtime.h"

namespace vel::printing {
namespace {

constexpr DWORD kFileBufferSize = 4096;
constexpr DWORD kBaseFlags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_SHAREAWARE;  // 0x4024
constexpr DWORD kDirectoryFlags =
    OFN_NOTESTFILECREATE | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY;  // 0x10864
constexpr const char* kDummyFileName = "XXYZZY.NIG";
constexpr UINT_PTR kDirectoryTimer = 1;
constexpr UINT kDirectoryTimerInterval = 100;

// "desc|pattern|desc|pattern" as the platform wants it: each part ended by a zero, the whole
// by a second zero.
std::vector<char> PlatformFilter(const std::string& filter) {
  std::vector<char> converted(filter.begin(), filter.end());
  std::replace(converted.begin(), converted.end(), '|', '\0');
  if (converted.empty() || converted.back() != '\0') converted.push_back('\0');
  converted.push_back('\0');
  return converted;
}

// Hides what the directory chooser does not use and keeps the dummy name in the name box.
void KeepDirectoryLook(HWND dialog) {
  for (int id : {edt1, lst1, stc2, stc3, cmb1, chx1}) {
    HWND control = GetDlgItem(dialog, id);
    if (control != nullptr && IsWindowVisible(control)) ShowWindow(control, SW_HIDE);
  }
  char name[64] = {};
  GetDlgItemTextA(dialog, edt1, name, sizeof name);
  if (lstrcmpiA(name, kDummyFileName) != 0) SetDlgItemTextA(dialog, edt1, kDummyFileName);
}

UINT_PTR CALLBACK DirectoryHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      RuntimeDialogHook(dialog, message, wParam, lParam);
      KeepDirectoryLook(dialog);
      SetTimer(dialog, kDirectoryTimer, kDirectoryTimerInterval, nullptr);
      return FALSE;
    case WM_TIMER:
      if (wParam != kDirectoryTimer) return FALSE;
      KeepDirectoryLook(dialog);
      return TRUE;
    case WM_DESTROY: KillTimer(dialog, kDirectoryTimer); return FALSE;
    default: return FALSE;
  }
}

BOOL Show(OPENFILENAMEA& request, bool save) {
  windows::BlockingPlatformCall unlocked;
  return save ? GetSaveFileNameA(&request) : GetOpenFileNameA(&request);
}

}  // namespace

DWORD FileDialogFlags(std::uint32_t options, bool save) {
  DWORD flags = kBaseFlags;
  if (options & kFileNoChangeDirectory) flags |= OFN_NOCHANGEDIR;
  if (options & kFileMultipleSelection) flags |= OFN_ALLOWMULTISELECT;
  if (options & kFileExplorer) flags |= OFN_EXPLORER;
  if (save && (options & kFileOverwritePrompt)) flags |= OFN_OVERWRITEPROMPT;
  if (!save) flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (values::Locale().longFileNames) flags |= OFN_LONGNAMES;
  return flags;
}

bool RunFileDialog(HWND owner, const std::string& title, const std::string& filter, std::uint32_t options, bool save,
                   std::string& file) {
  std::vector<char> platformFilter = PlatformFilter(filter);
  std::vector<char> buffer(kFileBufferSize, '\0');
  std::copy_n(file.begin(), std::min<size_t>(file.size(), kFileBufferSize - 1), buffer.begin());
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.hInstance = GetModuleHandleA(nullptr);
  request.lpstrFilter = filter.empty() ? nullptr : platformFilter.data();
  request.nFilterIndex = 1;
  request.lpstrFile = buffer.data();
  request.nMaxFile = kFileBufferSize;
  request.lpstrTitle = title.empty() ? nullptr : title.c_str();
  request.lpfnHook = RuntimeDialogHook;
  request.Flags = FileDialogFlags(options, save);
  if (!Show(request, save)) return false;
  file.assign(buffer.data());
  return true;
}

bool ChooseDirectory(HWND owner, const std::string& title, std::string& directory) {
  std::vector<char> buffer(kFileBufferSize, '\0');
  std::copy_n(kDummyFileName, std::strlen(kDummyFileName), buffer.begin());
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.hInstance = GetModuleHandleA(nullptr);
  request.lpstrFile = buffer.data();
  request.nMaxFile = kFileBufferSize;
  request.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  request.lpstrTitle = title.empty() ? nullptr : title.c_str();
  request.Flags = kDirectoryFlags;
  request.lpfnHook = DirectoryHook;
  request.lpTemplateName = "CHOOSEDIR";
  if (!Show(request, false)) return false;
  std::string chosen = buffer.data();
  // The name part is cut off at the last separator: "\" on the original system, "/" here.
  size_t separator = chosen.find_last_of("\\/");
  if (separator == std::string::npos) return false;
  directory = chosen.substr(0, separator == 0 ? 1 : separator);
  return true;
}

}  // namespace vel::printing

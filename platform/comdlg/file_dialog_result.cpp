// What happens to a name the user chose in an open or save dialog: the checks the request's
// flags ask for, the questions they put to the user, and the result written back.

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/comdlg/file_dialog.h"
#include "platform/kernel/ansi_text.h"

namespace vel::platform {
namespace {

bool Exists(const std::string& path, bool* isDirectory = nullptr) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  if (isDirectory != nullptr) *isDirectory = S_ISDIR(info.st_mode);
  return true;
}

std::string Parent(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A name without an extension gets the default one (lpstrDefExt), as the user would expect.
std::string WithDefaultExtension(const OPENFILENAMEA& request, std::string name) {
  if (request.lpstrDefExt == nullptr || request.lpstrDefExt[0] == '\0') return name;
  size_t slash = name.rfind('/');
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
  return name + "." + request.lpstrDefExt;
}

void Write(char* target, DWORD capacity, const std::string& text) {
  if (target == nullptr || capacity == 0) return;
  size_t copied = std::min<size_t>(text.size(), capacity - 1);
  std::memcpy(target, text.data(), copied);
  target[copied] = '\0';
}

}  // namespace

bool StoreFileNames(FileDialog& state, const std::string& directory, const std::vector<std::string>& names) {
  OPENFILENAMEA& request = *state.request;
  std::string ansiDirectory = Utf8ToAnsi(directory);
  std::string result;
  WORD fileOffset = 0;
  WORD extension = 0;
  if (names.size() == 1) {
    result = JoinPath(ansiDirectory, Utf8ToAnsi(names.front()));
    size_t slash = result.rfind('/');
    fileOffset = static_cast<WORD>(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = result.rfind('.');
    extension = static_cast<WORD>(dot != std::string::npos && dot > fileOffset ? dot + 1 : 0);
  } else {
    // Several names, as the classic dialog gives them: the directory, then each name, separated
    // by spaces.
    result = ansiDirectory;
    fileOffset = static_cast<WORD>(result.size() + 1);
    for (const std::string& name : names) result += " " + Utf8ToAnsi(name);
  }
  if (request.lpstrFile == nullptr || result.size() + 1 > request.nMaxFile) {
    // The first two bytes tell the caller how many it needs.
    if (request.lpstrFile != nullptr && request.nMaxFile >= 2) {
      auto needed = static_cast<WORD>(std::min<size_t>(result.size() + 1, 0xFFFF));
      std::memcpy(request.lpstrFile, &needed, sizeof needed);
    }
    SetCommonDialogError(FNERR_BUFFERTOOSMALL);
    return false;
  }
  std::memcpy(request.lpstrFile, result.c_str(), result.size() + 1);
  request.nFileOffset = fileOffset;
  request.nFileExtension = extension;
  if (names.size() == 1) Write(request.lpstrFileTitle, request.nMaxFileTitle, result.substr(fileOffset));
  return true;
}

bool AcceptFileName(HWND dialog, FileDialog& state, const std::string& typed) {
  const OPENFILENAMEA& request = *state.request;
  std::string path = NormalPath(JoinPath(state.directory, AnsiToUtf8(typed)));
  if (state.save) path = WithDefaultExtension(request, path);
  std::string shown = Utf8ToAnsi(path);
  bool isDirectory = false;
  bool exists = Exists(path, &isDirectory);
  if (exists && isDirectory) return false;
  if ((request.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !Exists(Parent(path))) {
    DialogMessage(dialog, shown + "\nPath does not exist.\nPlease verify the correct path was given.",
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (!exists && (request.Flags & OFN_FILEMUSTEXIST)) {
    DialogMessage(dialog, shown + "\nFile not found.\nPlease verify the correct file name was given.",
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (!exists && (request.Flags & OFN_CREATEPROMPT) &&
      DialogMessage(dialog, shown + "\nThis file does not exist.\nCreate the file?", MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return false;
  }
  if (exists && state.save && (request.Flags & OFN_OVERWRITEPROMPT) &&
      DialogMessage(dialog, shown + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
    return false;
  }
  if (state.save && !exists && !(request.Flags & OFN_NOTESTFILECREATE) && access(Parent(path).c_str(), W_OK) != 0) {
    DialogMessage(dialog, shown + "\nThis folder cannot be written to.", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  size_t slash = path.rfind('/');
  std::string directory = slash == 0 ? "/" : path.substr(0, slash);
  if (!StoreFileNames(state, directory, {path.substr(slash + 1)})) return true;
  // The hook may refuse the name (answering non-zero to "commdlg_FileNameOK").
  if (state.hook.Offer(dialog, state.fileOkMessage, 0, reinterpret_cast<LPARAM>(state.request))) return false;
  state.accepted = true;
  return true;
}

}  // namespace vel::platform

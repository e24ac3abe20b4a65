// WinHelpA: a help request opens the help file with the desktop's handler for it, the same way
// ShellExecuteA opens documents (it lives beside it for the launcher). A desktop viewer cannot
// be told which topic, keyword or macro was asked for, so every request that shows help opens
// the file itself; requests that only tidy up succeed without doing anything.

#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/kernel/ansi_text.h"
#include "platform/shell/process_launch.h"
#include "win32.h"

namespace vel::platform {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

/// Where a help file named in a request is: as named (relative to the current directory), else
/// beside the program, else in the Windows directory. Empty when it is in none of them.
std::string FindHelpFile(const std::string& name) {
  std::vector<std::string> candidates{name};
  if (name.find('/') == std::string::npos) {
    char buffer[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(nullptr, buffer, MAX_PATH) != 0) {
      candidates.push_back(DirectoryOf(AnsiToUtf8(buffer)) + "/" + name);
    }
    if (GetWindowsDirectoryA(buffer, MAX_PATH) != 0) candidates.push_back(AnsiToUtf8(buffer) + "/" + name);
  }
  for (const std::string& candidate : candidates) {
    if (IsRegularFile(candidate)) return candidate;
  }
  return std::string();
}

}  // namespace
}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI WinHelpA(HWND, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR) {
  // Closing the help of a program: nothing of ours stays open to close.
  if (uCommand == HELP_QUIT) return TRUE;
  // Help on the help viewer itself has no file on this desktop.
  if (uCommand == HELP_HELPONHELP) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (lpszHelp == nullptr || lpszHelp[0] == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // "file.hlp>window" names a window of the viewer; only the file matters here.
  std::string name = AnsiToUtf8(lpszHelp);
  name = name.substr(0, name.find('>'));
  // Setting the index topic shows nothing.
  if (uCommand == HELP_SETINDEX) return TRUE;
  std::string path = name.empty() ? std::string() : FindHelpFile(name);
  if (path.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  // A name starting with '-' would read as an option to the handler.
  if (path[0] == '-') path = "./" + path;
  if (LaunchDetached({"xdg-open", path}, std::string()) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  return TRUE;
}

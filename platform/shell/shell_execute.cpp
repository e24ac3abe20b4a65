// ShellExecuteA and WinExec: opening documents and addresses with the desktop's handler and
// starting programs, always as argument vectors and never through a shell, so nothing in an
// address or a file name is ever interpreted as a command.

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <string>

#include "platform/kernel/ansi_text.h"
#include "platform/shell/process_launch.h"
#include "win32.h"

namespace vel::platform {
namespace {

/// ShellExecuteA's success value: any value above 32.
constexpr uintptr_t kShellSuccess = 42;
/// WinExec's success value: any value above 31.
constexpr UINT kWinExecSuccess = 33;

HINSTANCE ShellResult(uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

/// True for "scheme:..." addresses (http:, mailto:, file: ...). A single letter before the
/// colon is a drive, not a scheme.
bool HasScheme(const std::string& target) {
  const size_t colon = target.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  if (!std::isalpha(static_cast<unsigned char>(target[0]))) return false;
  for (size_t i = 1; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(target[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

bool IsOpenVerb(const char* operation) {
  if (operation == nullptr || operation[0] == '\0') return true;
  return EqualsIgnoringCase(operation, "open") || EqualsIgnoringCase(operation, "explore");
}

uintptr_t ShellErrorFor(int error) {
  switch (error) {
    case ENOMEM: return 0;
    case EACCES:
    case EPERM: return SE_ERR_ACCESSDENIED;
    case ENOTDIR: return SE_ERR_PNF;
    default: return SE_ERR_NOASSOC;
  }
}

}  // namespace

}  // namespace vel::platform

using namespace vel::platform;

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                               LPCSTR lpDirectory, INT) {
  if (lpFile == nullptr || lpFile[0] == '\0') return ShellResult(SE_ERR_FNF);
  // Printing and editing have no handler on this desktop; only opening is offered.
  if (!IsOpenVerb(lpOperation)) return ShellResult(SE_ERR_NOASSOC);
  const std::string target = AnsiToUtf8(lpFile);
  const std::string directory = lpDirectory != nullptr ? AnsiToUtf8(lpDirectory) : std::string();
  if (!directory.empty()) {
    struct stat info {};
    if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return ShellResult(SE_ERR_PNF);
  }

  if (!HasScheme(target)) {
    // A file: it must exist (relative names are taken from the given directory). A program
    // file is started with the parameters; any other file goes to its handler.
    std::string path = (!directory.empty() && target[0] != '/') ? directory + "/" + target : target;
    // A name starting with '-' would read as an option to the handler or the program.
    if (path[0] == '-') path = "./" + path;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return ShellResult(errno == ENOTDIR ? SE_ERR_PNF : SE_ERR_FNF);
    if (S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0) {
      std::vector<std::string> arguments{path.find('/') != std::string::npos ? path : "./" + path};
      if (lpParameters != nullptr) {
        for (std::string& parameter : SplitCommandLine(AnsiToUtf8(lpParameters))) {
          arguments.push_back(std::move(parameter));
        }
      }
      const int error = LaunchDetached(arguments, directory);
      return ShellResult(error == 0 ? kShellSuccess : ShellErrorFor(error));
    }
    const int error = LaunchDetached({"xdg-open", path}, directory);
    return ShellResult(error == 0 ? kShellSuccess : ShellErrorFor(error));
  }
  const int error = LaunchDetached({"xdg-open", target}, directory);
  return ShellResult(error == 0 ? kShellSuccess : ShellErrorFor(error));
}

UINT WINAPI WinExec(LPCSTR lpCmdLine, UINT) {
  if (lpCmdLine == nullptr) return ERROR_FILE_NOT_FOUND;
  const std::vector<std::string> arguments = SplitCommandLine(AnsiToUtf8(lpCmdLine));
  if (arguments.empty()) return ERROR_FILE_NOT_FOUND;
  // A program started this way is usually one this program means to talk to next.
  switch (LaunchDetached(arguments, std::string(), true)) {
    case 0: return kWinExecSuccess;
    case ENOMEM: return 0;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case ENOEXEC: return ERROR_BAD_FORMAT;
    default: return ERROR_FILE_NOT_FOUND;
  }
}

#include <unistd.h>

#include <cstdio>

#include "win32.h"

[[noreturn]] void WINAPI ExitProcess(UINT uExitCode) {
  // Like the original, static destructors do not run; buffered output must still reach its file.
  std::fflush(nullptr);
  _exit(static_cast<int>(uExitCode & 0xFF));
}

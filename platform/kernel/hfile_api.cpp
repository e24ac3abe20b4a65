// The HFILE file functions: an HFILE is the system's file descriptor itself, so opening,
// writing and closing go straight to the kernel, without the handle table's lock or any
// allocation. That makes them the file functions a fault handler can use.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel/last_error.h"
#include "win32.h"
#include "win32/debugging.h"

namespace {

constexpr int kAccessMask = OF_READ | OF_WRITE | OF_READWRITE;

HFILE Failed() {
  vel::platform::SetLastErrorFromErrno(errno);
  return HFILE_ERROR;
}

}  // namespace

HFILE WINAPI _lopen(LPCSTR lpPathName, int iReadWrite) {
  if (lpPathName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  const int access = iReadWrite & kAccessMask;
  const int flags = access == OF_READWRITE ? O_RDWR : access == OF_WRITE ? O_WRONLY : O_RDONLY;
  const int fd = open(lpPathName, flags | O_CLOEXEC);
  return fd < 0 ? Failed() : fd;
}

HFILE WINAPI _lcreat(LPCSTR lpPathName, int) {
  if (lpPathName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  const int fd = open(lpPathName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd < 0 ? Failed() : fd;
}

UINT WINAPI _lwrite(HFILE hFile, LPCSTR lpBuffer, UINT uBytes) {
  UINT written = 0;
  while (written < uBytes) {
    const ssize_t count = write(hFile, lpBuffer + written, uBytes - written);
    if (count < 0) {
      if (errno == EINTR) continue;
      Failed();
      return static_cast<UINT>(HFILE_ERROR);
    }
    written += static_cast<UINT>(count);
  }
  return written;
}

HFILE WINAPI _lclose(HFILE hFile) { return close(hFile) == 0 ? 0 : Failed(); }

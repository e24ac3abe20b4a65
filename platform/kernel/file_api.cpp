// The basic file calls over POSIX descriptors, kept in the handle table.

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/kernel/handle_table.h"
#include "platform/kernel/last_error.h"

namespace vel::platform {
namespace {

class FileObject final : public KernelObject {
 public:
  FileObject(int fd, bool owned) : fd(fd), m_owned(owned) {}
  ~FileObject() override {
    if (m_owned) close(fd);
  }
  const int fd;

 private:
  bool m_owned;
};

std::string NativePath(LPCSTR name) {
  std::string path = name;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace
}  // namespace vel::platform

using vel::platform::FileObject;
using vel::platform::HandleTable;
using vel::platform::SetLastErrorFromErrno;

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD, HANDLE) {
  if (lpFileName == nullptr || *lpFileName == '\0') {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  if (strcasecmp(lpFileName, "AUX") == 0) {
    return HandleTable::Instance().Add(std::make_shared<FileObject>(STDERR_FILENO, false));
  }
  bool reads = (dwDesiredAccess & GENERIC_READ) != 0;
  bool writes = (dwDesiredAccess & GENERIC_WRITE) != 0;
  int flags = O_CLOEXEC | (reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY);
  switch (dwCreationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING:
      if (!writes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
      }
      flags |= O_TRUNC;
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }
  std::string path = vel::platform::NativePath(lpFileName);
  struct stat before{};
  bool existed = stat(path.c_str(), &before) == 0;
  if (existed && S_ISDIR(before.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  int fd = open(path.c_str(), flags, 0666);
  if (fd < 0) {
    SetLastErrorFromErrno(errno);
    return INVALID_HANDLE_VALUE;
  }
  // Win32 reports through the last error that CREATE_ALWAYS or OPEN_ALWAYS found the file.
  bool reportExisting = existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
  SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return HandleTable::Instance().Add(std::make_shared<FileObject>(fd, true));
}

namespace {

// Moves all `count` bytes with `step` (read or write), retrying interrupted and partial calls,
// as Win32's synchronous transfers do. A step that moves nothing ends a read (end of file) and
// fails a write (the disk is full).
template <typename Step>
BOOL Transfer(HANDLE handle, const void* buffer, DWORD count, LPDWORD done, bool reading, Step step) {
  if (done != nullptr) *done = 0;
  auto file = HandleTable::Instance().FindAs<FileObject>(handle);
  if (file == nullptr) return FALSE;
  if (buffer == nullptr && count > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD total = 0;
  BOOL succeeded = TRUE;
  while (total < count) {
    ssize_t moved = step(file->fd, total);
    if (moved < 0 && errno == EINTR) continue;
    if (moved < 0 || (moved == 0 && !reading)) {
      SetLastErrorFromErrno(moved < 0 ? errno : ENOSPC);
      succeeded = FALSE;
      break;
    }
    if (moved == 0) break;
    total += static_cast<DWORD>(moved);
  }
  if (done != nullptr) *done = total;
  return succeeded;
}

}  // namespace

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED) {
  return Transfer(hFile, lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead, true, [&](int fd, DWORD offset) {
    return read(fd, static_cast<char*>(lpBuffer) + offset, nNumberOfBytesToRead - offset);
  });
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED) {
  return Transfer(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten, false, [&](int fd, DWORD offset) {
    return write(fd, static_cast<const char*>(lpBuffer) + offset, nNumberOfBytesToWrite - offset);
  });
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  auto file = HandleTable::Instance().FindAs<FileObject>(hFile);
  struct stat info{};
  if (file == nullptr || fstat(file->fd, &info) != 0) {
    if (file != nullptr) SetLastErrorFromErrno(errno);
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (lpFileSizeHigh != nullptr) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(size);
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LPLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
  auto file = HandleTable::Instance().FindAs<FileObject>(hFile);
  if (file == nullptr) return INVALID_SET_FILE_POINTER;
  // Without the high half the distance is a signed 32-bit number; with it, a signed 64-bit one.
  int64_t distance = lpDistanceToMoveHigh != nullptr
                         ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32) |
                                                static_cast<uint32_t>(lDistanceToMove))
                         : lDistanceToMove;
  int whence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR
             : dwMoveMethod == FILE_END   ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  off_t position = lseek(file->fd, static_cast<off_t>(distance), whence);
  if (position < 0) {
    SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : vel::platform::Win32ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (lpDistanceToMoveHigh != nullptr) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(position);
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
  auto file = HandleTable::Instance().FindAs<FileObject>(hFile);
  if (file == nullptr) return FALSE;
  off_t position = lseek(file->fd, 0, SEEK_CUR);
  if (position < 0 || ftruncate(file->fd, position) != 0) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
  auto file = HandleTable::Instance().FindAs<FileObject>(hFile);
  if (file == nullptr) return FALSE;
  if (fsync(file->fd) != 0 && errno != EINVAL) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
  if (lpFileName == nullptr) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  std::string path = vel::platform::NativePath(lpFileName);
  struct stat info{};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (unlink(path.c_str()) != 0) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

namespace {

// 100-nanosecond intervals from 1601 to the Unix epoch.
constexpr uint64_t kEpochDifference = 116444736000000000ULL;

void StoreFileTime(const timespec& moment, LPFILETIME out) {
  if (out == nullptr) return;
  uint64_t ticks = kEpochDifference + static_cast<uint64_t>(moment.tv_sec) * 10000000ULL +
                   static_cast<uint64_t>(moment.tv_nsec) / 100;
  out->dwLowDateTime = static_cast<DWORD>(ticks);
  out->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
}

}  // namespace

BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                        LPFILETIME lpLastWriteTime) {
  auto file = HandleTable::Instance().FindAs<FileObject>(hFile);
  struct stat info{};
  if (file == nullptr || fstat(file->fd, &info) != 0) {
    if (file != nullptr) SetLastErrorFromErrno(errno);
    return FALSE;
  }
  StoreFileTime(info.st_ctim, lpCreationTime);
  StoreFileTime(info.st_atim, lpLastAccessTime);
  StoreFileTime(info.st_mtim, lpLastWriteTime);
  return TRUE;
}

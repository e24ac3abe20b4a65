// Reading and writing the process's own memory without faulting. The kernel does the copying
// (process_vm_readv and process_vm_writev on this process), so an unreadable or unwritable page
// is an error result instead of a signal; where those calls are not allowed, a pipe does the
// same job: the kernel reports a bad address to write() or read() as EFAULT. No call here
// allocates or locks, so fault handlers use them freely.

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "win32.h"
#include "win32/debugging.h"

namespace {

constexpr std::uintptr_t kPageSize = 4096;
// Each piece stays within one page, so a partial transfer stops exactly at the first page that
// cannot be accessed (the kernel never splits one piece).
constexpr int kPiecesPerCall = 16;

enum class Direction { Read, Write };

std::size_t PieceLength(std::uintptr_t address, std::size_t remaining) {
  const std::size_t toPageEnd = kPageSize - (address % kPageSize);
  return remaining < toPageEnd ? remaining : toPageEnd;
}

// Through the kernel's copy between address spaces; -1 when that is not available here.
long CopyWithKernel(Direction direction, std::uintptr_t target, unsigned char* local, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    iovec localPiece{local + done, 0};
    iovec remotePieces[kPiecesPerCall];
    int pieces = 0;
    std::size_t batch = 0;
    while (pieces < kPiecesPerCall && done + batch < size) {
      const std::size_t length = PieceLength(target + done + batch, size - done - batch);
      remotePieces[pieces++] = iovec{reinterpret_cast<void*>(target + done + batch), length};
      batch += length;
    }
    localPiece.iov_len = batch;
    const ssize_t copied = direction == Direction::Read
                               ? process_vm_readv(getpid(), &localPiece, 1, remotePieces, pieces, 0)
                               : process_vm_writev(getpid(), &localPiece, 1, remotePieces, pieces, 0);
    if (copied < 0) {
      if ((errno == ENOSYS || errno == EPERM) && done == 0) return -1;
      break;
    }
    done += static_cast<std::size_t>(copied);
    if (static_cast<std::size_t>(copied) < batch) break;
  }
  return static_cast<long>(done);
}

// Through a pipe, one page piece at a time: the kernel reads the source of a write() and
// writes the destination of a read() itself.
std::size_t CopyThroughPipe(Direction direction, std::uintptr_t target, unsigned char* local, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) break;
    const std::size_t length = PieceLength(target + done, size - done);
    auto* from = direction == Direction::Read ? reinterpret_cast<unsigned char*>(target + done) : local + done;
    auto* to = direction == Direction::Read ? local + done : reinterpret_cast<unsigned char*>(target + done);
    const bool whole = write(ends[1], from, length) == static_cast<ssize_t>(length) &&
                       read(ends[0], to, length) == static_cast<ssize_t>(length);
    close(ends[0]);
    close(ends[1]);
    if (!whole) break;
    done += length;
  }
  return done;
}

BOOL Transfer(Direction direction, HANDLE process, std::uintptr_t target, unsigned char* local, SIZE_T size,
              SIZE_T* transferred) {
  if (transferred != nullptr) *transferred = 0;
  if (process != GetCurrentProcess()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (size == 0) return TRUE;
  if (local == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int savedErrno = errno;
  long done = CopyWithKernel(direction, target, local, size);
  if (done < 0) done = static_cast<long>(CopyThroughPipe(direction, target, local, size));
  errno = savedErrno;
  if (transferred != nullptr) *transferred = static_cast<SIZE_T>(done);
  if (static_cast<SIZE_T>(done) < size) {
    SetLastError(ERROR_PARTIAL_COPY);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

BOOL WINAPI ReadProcessMemory(HANDLE hProcess, LPCVOID lpBaseAddress, LPVOID lpBuffer, SIZE_T nSize,
                              SIZE_T* lpNumberOfBytesRead) {
  return Transfer(Direction::Read, hProcess, reinterpret_cast<std::uintptr_t>(lpBaseAddress),
                  static_cast<unsigned char*>(lpBuffer), nSize, lpNumberOfBytesRead);
}

BOOL WINAPI WriteProcessMemory(HANDLE hProcess, LPVOID lpBaseAddress, LPCVOID lpBuffer, SIZE_T nSize,
                               SIZE_T* lpNumberOfBytesWritten) {
  return Transfer(Direction::Write, hProcess, reinterpret_cast<std::uintptr_t>(lpBaseAddress),
                  static_cast<unsigned char*>(const_cast<void*>(lpBuffer)), nSize, lpNumberOfBytesWritten);
}

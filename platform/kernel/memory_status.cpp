// The machine's memory figures, from the kernel's own counters.

#include <sys/sysinfo.h>

#include "win32.h"

BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX lpBuffer) {
  if (lpBuffer == nullptr || lpBuffer->dwLength != sizeof(MEMORYSTATUSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return FALSE;
  const DWORDLONG unit = info.mem_unit == 0 ? 1 : info.mem_unit;
  lpBuffer->ullTotalPhys = static_cast<DWORDLONG>(info.totalram) * unit;
  lpBuffer->ullAvailPhys = static_cast<DWORDLONG>(info.freeram + info.bufferram) * unit;
  lpBuffer->ullTotalPageFile = lpBuffer->ullTotalPhys + static_cast<DWORDLONG>(info.totalswap) * unit;
  lpBuffer->ullAvailPageFile = lpBuffer->ullAvailPhys + static_cast<DWORDLONG>(info.freeswap) * unit;
  // A 64-bit process has 128 TiB of user address space; how much of it is free is not tracked.
  lpBuffer->ullTotalVirtual = DWORDLONG{1} << 47;
  lpBuffer->ullAvailVirtual = lpBuffer->ullTotalVirtual;
  lpBuffer->ullAvailExtendedVirtual = 0;
  DWORDLONG used = lpBuffer->ullTotalPhys - lpBuffer->ullAvailPhys;
  lpBuffer->dwMemoryLoad =
      lpBuffer->ullTotalPhys == 0 ? 0 : static_cast<DWORD>(used * 100 / lpBuffer->ullTotalPhys);
  return TRUE;
}

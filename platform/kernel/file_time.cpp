// Conversions of file times: to local time, and to the packed MS-DOS date and time.

#include <ctime>

#include "win32.h"

namespace {

constexpr uint64_t kTicksPerSecond = 10000000ULL;
// Seconds from 1601 to the Unix epoch.
constexpr int64_t kEpochSeconds = 11644473600LL;

uint64_t Ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
  if (lpFileTime == nullptr || lpLocalFileTime == nullptr) return FALSE;
  // The offset in force now, not at the moment converted: Win32 documents exactly that.
  time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  int64_t offset = static_cast<int64_t>(local.tm_gmtoff) * static_cast<int64_t>(kTicksPerSecond);
  uint64_t ticks = Ticks(*lpFileTime);
  if (offset < 0 && ticks < static_cast<uint64_t>(-offset)) return FALSE;
  uint64_t shifted = ticks + static_cast<uint64_t>(offset);
  lpLocalFileTime->dwLowDateTime = static_cast<DWORD>(shifted);
  lpLocalFileTime->dwHighDateTime = static_cast<DWORD>(shifted >> 32);
  return TRUE;
}

BOOL WINAPI FileTimeToDosDateTime(const FILETIME* lpFileTime, LPWORD lpFatDate, LPWORD lpFatTime) {
  if (lpFileTime == nullptr || lpFatDate == nullptr || lpFatTime == nullptr) return FALSE;
  // The value is taken as it stands (already local when the caller wants local time), so the
  // calendar fields are read without any time zone.
  time_t seconds = static_cast<time_t>(static_cast<int64_t>(Ticks(*lpFileTime) / kTicksPerSecond) - kEpochSeconds);
  tm parts{};
  if (gmtime_r(&seconds, &parts) == nullptr) return FALSE;
  int year = parts.tm_year + 1900;
  if (year < 1980 || year > 2107) return FALSE;
  *lpFatDate = static_cast<WORD>(((year - 1980) << 9) | ((parts.tm_mon + 1) << 5) | parts.tm_mday);
  *lpFatTime = static_cast<WORD>((parts.tm_hour << 11) | (parts.tm_min << 5) | (parts.tm_sec / 2));
  return TRUE;
}

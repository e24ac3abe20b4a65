// Calendar time for GetLocalTime and GetSystemTime.

#include <ctime>

#include "win32.h"

namespace {

void FillSystemTime(LPSYSTEMTIME out, bool local) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm parts{};
  if (local) {
    localtime_r(&now.tv_sec, &parts);
  } else {
    gmtime_r(&now.tv_sec, &parts);
  }
  out->wYear = static_cast<WORD>(parts.tm_year + 1900);
  out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  out->wDay = static_cast<WORD>(parts.tm_mday);
  out->wHour = static_cast<WORD>(parts.tm_hour);
  out->wMinute = static_cast<WORD>(parts.tm_min);
  // A leap second (60) is shown as the last second of the minute, as Win32 has no 60.
  out->wSecond = static_cast<WORD>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
  out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

}  // namespace

void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  if (lpSystemTime != nullptr) FillSystemTime(lpSystemTime, true);
}

void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
  if (lpSystemTime != nullptr) FillSystemTime(lpSystemTime, false);
}

#include "runtime/values/time_local.h"

#include "win32.h"

namespace vel::values {

LocalDateTime ReadLocalDateTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  LocalDateTime result;
  result.year = now.wYear;
  result.month = now.wMonth;
  result.day = now.wDay;
  result.hour = now.wHour;
  result.minute = now.wMinute;
  result.second = now.wSecond;
  result.millisecond = now.wMilliseconds;
  return result;
}

}  // namespace vel::values

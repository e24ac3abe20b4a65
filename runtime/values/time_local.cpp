#include "runtime/values/time_local.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace vel::values {

LocalDateTime ReadLocalDateTime() {
  static std::mutex localTimeMutex;
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
      1000;
  std::tm local{};
  {
    // std::localtime shares one static result; the lock keeps two threads from racing on it.
    std::lock_guard<std::mutex> lock(localTimeMutex);
    if (const std::tm* result = std::localtime(&seconds)) local = *result;
  }
  LocalDateTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec;
  result.millisecond = static_cast<int>(millis < 0 ? millis + 1000 : millis);
  return result;
}

}  // namespace vel::values

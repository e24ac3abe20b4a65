#include "runtime/values/time_values.h"

#include "runtime/values/time_local.h"

namespace vel::values {

int TimeToParts(int32_t time, TimeParts& parts) {
  parts = TimeParts{};
  if (time < 1 || time > kLastTimeValue) return -1;
  const int32_t hundredths = time - 1;
  parts.hours = hundredths / 360000;
  parts.minutes = hundredths / 6000 % 60;
  parts.seconds = hundredths / 100 % 60;
  parts.hundredths = hundredths % 100;
  return 0;
}

int32_t PartsToTime(int hours, int minutes, int seconds, int hundredths) {
  if (hours == 0 && minutes == 0 && seconds == 0 && hundredths == 0) return 0;
  if (hours < 0 || minutes < 0 || seconds < 0 || hundredths < 0) return -1;
  if (hours > 23 || minutes > 59 || seconds > 59 || hundredths > 99) return -1;
  return hours * 360000 + minutes * 6000 + seconds * 100 + hundredths + 1;
}

int32_t Clock() {
  const LocalDateTime local = ReadLocalDateTime();
  // A leap second (60) is shown as the last hundredth before the next minute.
  const int second = local.second > 59 ? 59 : local.second;
  const int hundredths = local.second > 59 ? 99 : local.millisecond / 10;
  const int32_t time = PartsToTime(local.hour, local.minute, second, hundredths);
  // Exactly midnight would otherwise read as "no time".
  return time == 0 ? 1 : time;
}

uint32_t TimeToPacked(int32_t time) {
  TimeParts parts;
  if (TimeToParts(time, parts) != 0) return 0;
  return static_cast<uint32_t>(parts.hours) << 24 | static_cast<uint32_t>(parts.minutes) << 16 |
         static_cast<uint32_t>(parts.seconds) << 8 | static_cast<uint32_t>(parts.hundredths);
}

int32_t PackedToTime(uint32_t packed) {
  return PartsToTime(static_cast<int>(packed >> 24), static_cast<int>(packed >> 16 & 0xFF),
                     static_cast<int>(packed >> 8 & 0xFF), static_cast<int>(packed & 0xFF));
}

}  // namespace vel::values

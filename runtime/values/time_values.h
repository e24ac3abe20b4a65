#pragma once
// Time values: hundredths of a second since midnight, plus 1, so 1 is midnight and 8640000 is
// 23:59:59.99. 0 stands for "no time" and -1 marks an invalid time.

#include <cstdint>

namespace vel::values {

/// The largest valid time value (23:59:59.99).
inline constexpr int32_t kLastTimeValue = 8640000;

/// A time of day split into its fields.
struct TimeParts {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  int hundredths = 0;
};

/// Splits a time value. Values outside 1 to 8640000 leave every part 0 and return -1;
/// valid values return 0.
int TimeToParts(int32_t time, TimeParts& parts);

/// Builds a time value: 0 when all four parts are 0; -1 when a part is negative, hours exceed
/// 23, minutes or seconds 59, or hundredths 99.
int32_t PartsToTime(int hours, int minutes, int seconds, int hundredths);

/// The local time of day as a time value, hundredths taken from the milliseconds divided by 10.
int32_t Clock();

/// Packs a time value into `TimeValue` storage: hours in the top byte, then minutes, seconds,
/// and hundredths in the low byte. An invalid time packs as 0.
uint32_t TimeToPacked(int32_t time);

/// Reads `TimeValue` storage back into a time value (0 for all-zero storage, -1 for fields
/// out of range).
int32_t PackedToTime(uint32_t packed);

}  // namespace vel::values

#pragma once
// The one place that asks the platform for the local date and time.

namespace vel::values {

/// The local calendar date and time of day at one instant.
struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

/// Reads the local date and time; safe to call from any thread.
LocalDateTime ReadLocalDateTime();

}  // namespace vel::values

#include "runtime/values/time_values.h"

#include <gtest/gtest.h>

namespace vel::values {
namespace {

TEST(PartsToTime, BoundsAndFormula) {
  EXPECT_EQ(PartsToTime(0, 0, 0, 0), 0);
  EXPECT_EQ(PartsToTime(0, 0, 0, 1), 2);
  EXPECT_EQ(PartsToTime(23, 59, 59, 99), 8640000);
  EXPECT_EQ(PartsToTime(14, 5, 0, 0), 14 * 360000 + 5 * 6000 + 1);
  EXPECT_EQ(PartsToTime(24, 0, 0, 0), -1);
  EXPECT_EQ(PartsToTime(0, 60, 0, 0), -1);
  EXPECT_EQ(PartsToTime(0, 0, 60, 0), -1);
  EXPECT_EQ(PartsToTime(0, 0, 0, 100), -1);
  EXPECT_EQ(PartsToTime(-1, 0, 0, 0), -1);
  EXPECT_EQ(PartsToTime(1, -1, 0, 0), -1);
}

TEST(TimeToParts, SplitsAndRejects) {
  TimeParts parts;
  EXPECT_EQ(TimeToParts(1, parts), 0);
  EXPECT_EQ(parts.hours + parts.minutes + parts.seconds + parts.hundredths, 0);
  EXPECT_EQ(TimeToParts(8640000, parts), 0);
  EXPECT_EQ(parts.hours, 23);
  EXPECT_EQ(parts.minutes, 59);
  EXPECT_EQ(parts.seconds, 59);
  EXPECT_EQ(parts.hundredths, 99);
  for (int32_t bad : {0, -1, 8640001}) {
    parts = TimeParts{1, 2, 3, 4};
    EXPECT_EQ(TimeToParts(bad, parts), -1);
    EXPECT_EQ(parts.hours + parts.minutes + parts.seconds + parts.hundredths, 0);
  }
  // Every time of a sampled stride survives the split and the rebuild.
  for (int32_t time = 2; time <= kLastTimeValue; time += 997) {
    ASSERT_EQ(TimeToParts(time, parts), 0);
    ASSERT_EQ(PartsToTime(parts.hours, parts.minutes, parts.seconds, parts.hundredths), time);
  }
}

TEST(TimePacking, LayoutAndRoundTrip) {
  const int32_t time = PartsToTime(13, 45, 7, 42);
  EXPECT_EQ(TimeToPacked(time), 13u << 24 | 45u << 16 | 7u << 8 | 42u);
  EXPECT_EQ(PackedToTime(TimeToPacked(time)), time);
  EXPECT_EQ(TimeToPacked(0), 0u);
  EXPECT_EQ(TimeToPacked(-1), 0u);
  EXPECT_EQ(PackedToTime(0), 0);
  EXPECT_EQ(PackedToTime(24u << 24), -1);
}

TEST(Clock, GivesAValidTimeOfDay) {
  const int32_t now = Clock();
  EXPECT_GE(now, 1);
  EXPECT_LE(now, kLastTimeValue);
}

}  // namespace
}  // namespace vel::values

#include "runtime/windows/unit_conversion.h"

#include <gtest/gtest.h>

namespace vel::windows {
namespace {

TEST(RoundedMulDiv, RoundsHalvesAwayFromZeroAndClamps) {
  EXPECT_EQ(RoundedMulDiv(5, 3, 2), 8);     // 7.5
  EXPECT_EQ(RoundedMulDiv(-5, 3, 2), -8);   // -7.5
  EXPECT_EQ(RoundedMulDiv(7, 1, 3), 2);     // 2.33
  EXPECT_EQ(RoundedMulDiv(8, 1, 3), 3);     // 2.67
  EXPECT_EQ(RoundedMulDiv(5, 3, -2), -8);
  EXPECT_EQ(RoundedMulDiv(1, 5, 0), 0);
  EXPECT_EQ(RoundedMulDiv(0x40000000, 8, 2), INT32_MAX);  // no intermediate overflow, clamped
  EXPECT_EQ(RoundedMulDiv(0x40000000, 2, 4), 0x20000000);
}

TEST(AverageCharWidth, FromTheExtentOfTheFiftyTwoLetters) {
  EXPECT_EQ(AverageCharWidthFromExtent(312), 6);  // (12 + 1) / 2
  EXPECT_EQ(AverageCharWidthFromExtent(338), 7);  // (13 + 1) / 2
  EXPECT_EQ(AverageCharWidthFromExtent(0), 0);
}

TEST(HundredthsToMilliseconds, TimerOfFiftyTicksEveryHalfSecond) {
  EXPECT_EQ(HundredthsToMilliseconds(50), 500u);
  EXPECT_EQ(HundredthsToMilliseconds(0), 0u);
  EXPECT_EQ(HundredthsToMilliseconds(-3), 0u);
  EXPECT_EQ(HundredthsToMilliseconds(0x7FFFFFFF), 0xFFFFFFFFu);
}

TEST(UnitConverter, EachUnitWithKnownMetrics) {
  UnitMetrics metrics;
  metrics.averageCharWidth = 6;
  metrics.charHeight = 13;
  metrics.dotsPerInchX = 96;
  metrics.dotsPerInchY = 120;

  UnitConverter dialog(0x800, metrics);  // bits outside the unit mask do not matter
  EXPECT_EQ(dialog.UnitKind(), Unit::DialogUnit);
  EXPECT_EQ(dialog.ToPixelsX(439), 659);  // 439 * 12 / 8 = 658.5
  EXPECT_EQ(dialog.ToPixelsY(8), 13);
  EXPECT_EQ(dialog.ToPixelsY(3), 5);      // 39 / 8 = 4.875
  EXPECT_EQ(dialog.FromPixelsX(659), 439);

  UnitConverter millimetres(0x100, metrics);
  EXPECT_EQ(millimetres.ToPixelsX(10), 38);  // 10 * 96 / 25 = 38.4
  EXPECT_EQ(millimetres.ToPixelsY(10), 48);

  UnitConverter thousandths(0x200, metrics);
  EXPECT_EQ(thousandths.ToPixelsX(1000), 96);
  EXPECT_EQ(thousandths.ToPixelsX(5), 0);    // 0.48
  EXPECT_EQ(thousandths.ToPixelsY(5), 1);    // 0.6

  UnitConverter pixels(0x300, metrics);
  EXPECT_EQ(pixels.ToPixelsX(123), 123);
  metrics.report = true;
  UnitConverter points(0x300, metrics);
  EXPECT_EQ(points.ToPixelsX(72), 96);
  EXPECT_EQ(points.ToPixelsY(10), 17);       // 16.67
}

TEST(UnitConverter, NotGivenStaysNotGiven) {
  UnitMetrics metrics;
  metrics.averageCharWidth = 6;
  metrics.charHeight = 13;
  UnitConverter dialog(0, metrics);
  Rect converted = dialog.ToPixels(Rect{kNotGiven, 0, 439, kNotGiven});
  EXPECT_EQ(converted, (Rect{kNotGiven, 0, 659, kNotGiven}));
  // A value whose conversion would land exactly on the marker stays a number.
  metrics.charHeight = 16;
  EXPECT_NE(UnitConverter(0, metrics).ToPixelsY(INT32_MIN / 2), kNotGiven);
}

}  // namespace
}  // namespace vel::windows

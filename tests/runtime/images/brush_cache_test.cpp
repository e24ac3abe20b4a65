// Colour values, the brush cache and its reference counts, system colours followed after a
// change, and the mixed brush.

#include "runtime/images/brush_cache.h"

#include <gtest/gtest.h>

#include "platform/gdi/system_colors.h"
#include "runtime/images/mixed_brush.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"

namespace vel::images {
namespace {

COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH logical{};
  if (GetObjectA(brush, sizeof logical, &logical) != sizeof logical) return CLR_INVALID;
  return logical.lbColor;
}

bool IsLive(HBRUSH brush) { return GetObjectType(brush) == OBJ_BRUSH; }

TEST(ColorValues, NoColourSystemColoursAndPaletteRelativeColours) {
  EXPECT_TRUE(IsNoColor(kNoColor));
  EXPECT_FALSE(IsSystemColor(kNoColor));
  ColorValue window = SystemColorValue(COLOR_WINDOW);
  EXPECT_TRUE(IsSystemColor(window));
  EXPECT_EQ(SystemColorIndex(window), COLOR_WINDOW);
  EXPECT_EQ(RgbOf(window), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(RgbOf(0x123456), 0x123456u);
  EXPECT_EQ(DrawingColorOf(0x123456), 0x02123456u) << "a palette-relative colour";
  EXPECT_EQ(DrawingColorOf(window), GetSysColor(COLOR_WINDOW));
}

TEST(BrushCache, FilledWithTheNineStartColoursHeldUntilCleared) {
  BrushCache cache;
  cache.FillStartColors();
  EXPECT_EQ(cache.Size(), 9u);
  for (int index : {6, 8, 15, 20, 16, 5, 14, 13}) EXPECT_EQ(cache.References(SystemColorValue(index)), 1) << index;
  HBRUSH white = cache.Current(0xFFFFFF);
  ASSERT_NE(white, nullptr);
  EXPECT_EQ(BrushColor(white), 0x02FFFFFFu);
  EXPECT_EQ(cache.Acquire(0xFFFFFF), white);
  cache.Release(0xFFFFFF);
  EXPECT_EQ(cache.References(0xFFFFFF), 1);
  EXPECT_TRUE(IsLive(white));
  cache.Clear();
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_FALSE(IsLive(white));
}

TEST(BrushCache, BrushesLiveWhileReferencedAndNoColourIsTheNullBrush) {
  BrushCache cache;
  HBRUSH red = cache.Acquire(0x0000FF);
  EXPECT_EQ(cache.Acquire(0x0000FF), red);
  EXPECT_EQ(cache.References(0x0000FF), 2);
  cache.Release(0x0000FF);
  EXPECT_TRUE(IsLive(red));
  cache.Release(0x0000FF);
  EXPECT_FALSE(IsLive(red));
  EXPECT_EQ(cache.Size(), 0u);
  cache.Release(0x0000FF);  // One release too many is ignored.

  HBRUSH none = cache.Acquire(kNoColor);
  EXPECT_EQ(none, GetStockObject(NULL_BRUSH));
  cache.Release(kNoColor);
  EXPECT_TRUE(IsLive(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
}

TEST(BrushCache, SystemColourBrushesFollowAChangeOfTheSystemColours) {
  BrushCache cache;
  ColorValue face = SystemColorValue(COLOR_BTNFACE);
  HBRUSH before = cache.Acquire(face);
  HBRUSH plain = cache.Acquire(0x00FF00);
  COLORREF original = GetSysColor(COLOR_BTNFACE);
  ASSERT_TRUE(platform::SetSystemColor(COLOR_BTNFACE, RGB(10, 20, 30)));
  cache.SystemColorsChanged();
  HBRUSH after = cache.Current(face);
  EXPECT_EQ(BrushColor(after), RGB(10, 20, 30));
  EXPECT_EQ(cache.References(face), 1) << "the references are kept";
  EXPECT_EQ(cache.Current(0x00FF00), plain) << "other colours are not made again";
  EXPECT_TRUE(before == after || !IsLive(before));
  ASSERT_TRUE(platform::SetSystemColor(COLOR_BTNFACE, original));
  cache.SystemColorsChanged();
  EXPECT_EQ(BrushColor(cache.Current(face)), original);
}

TEST(BrushCache, TheImageSupportServiceFillsAndEmptiesTheRuntimesCache) {
  services::ImageSupportService(services::kInitialiseCall);
  EXPECT_EQ(RuntimeBrushes().Size(), 9u);
  services::ImageSupportService(services::kTerminateCall);
  EXPECT_EQ(RuntimeBrushes().Size(), 0u);
}

TEST(MixedBrush, TheMixIsTheAverageRoundedUp) {
  EXPECT_EQ(MixColors(RGB(0, 10, 255), RGB(1, 20, 0)), RGB(1, 15, 128));
  MixedBrush mixed(0x0000FF, 0xFF0000, false);
  EXPECT_EQ(mixed.Color(), RGB(128, 0, 128));
  EXPECT_EQ(BrushColor(mixed.Handle()), RGB(128, 0, 128));
  MixedBrush none(kNoColor, 0xFF0000, false);
  EXPECT_TRUE(none.IsNull());
  EXPECT_EQ(none.Handle(), GetStockObject(NULL_BRUSH));
  // The true-colour screen shows every mix: matching it keeps the mix.
  MixedBrush matched(SystemColorValue(COLOR_WINDOW), 0x000000, true);
  EXPECT_EQ(matched.Color(), RGB(128, 128, 128));
}

}  // namespace
}  // namespace vel::images

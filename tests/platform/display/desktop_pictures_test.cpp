#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/display/sdl/desktop_pictures.h"
#include "platform/display/sdl/desktop_scale.h"
#include "tests/platform/gdi/icon_builder.h"
#include "win32.h"

namespace vel::platform {
namespace {

using testing::IconDib;

/// A cursor made from resource data: the hot spot, then the image.
HCURSOR CursorFromDib(const std::vector<uint8_t>& dib, uint16_t hotspotX, uint16_t hotspotY) {
  std::vector<uint8_t> bits;
  testing::PutWord(bits, hotspotX);
  testing::PutWord(bits, hotspotY);
  bits.insert(bits.end(), dib.begin(), dib.end());
  return CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), FALSE, 0x00030000, 0, 0, 0);
}

// Four pixels of a monochrome cursor in the first row: opaque black, opaque white, transparent
// (masked black) and inverting (masked white).
std::vector<uint8_t> MonochromeDib() {
  return IconDib(
      8, 1, [](int x, int y) { return y == 0 && (x == 1 || x == 3) ? 1u : 0u; },
      [](int x, int y) { return y != 0 || x >= 2; }, {0x000000, 0xFFFFFF});
}

TEST(DesktopPictures, AMonochromeCursorKeepsItsMaskAndHotSpot) {
  HCURSOR cursor = CursorFromDib(MonochromeDib(), 3, 5);
  ASSERT_NE(cursor, nullptr);
  std::optional<DesktopPicture> picture = PictureOfIcon(cursor);
  ASSERT_TRUE(picture.has_value());
  ASSERT_EQ(picture->width, 8);
  ASSERT_EQ(picture->height, 8);
  ASSERT_EQ(picture->pixels.size(), 64u);
  EXPECT_EQ(picture->pixels[0], 0xFF000000u);
  EXPECT_EQ(picture->pixels[1], 0xFFFFFFFFu);
  EXPECT_EQ(picture->pixels[2], 0x00000000u);
  // The desktop cannot invert the screen; inverting pixels show black.
  EXPECT_EQ(picture->pixels[3], 0xFF000000u);
  EXPECT_EQ(picture->pixels[8 * 7 + 7], 0x00000000u);
  EXPECT_EQ(picture->hotspot.x, 3);
  EXPECT_EQ(picture->hotspot.y, 5);
  EXPECT_EQ(StandardCursorId(cursor), 0);

  // Once destroyed the handle has no picture, and a hot spot from outside data stays inside.
  EXPECT_TRUE(DestroyCursor(cursor));
  EXPECT_FALSE(PictureOfIcon(cursor).has_value());
  HCURSOR outside = CursorFromDib(MonochromeDib(), 40, 2);
  ASSERT_NE(outside, nullptr);
  EXPECT_EQ(PictureOfIcon(outside)->hotspot.x, 7);
  EXPECT_EQ(PictureOfIcon(outside)->hotspot.y, 2);
  DestroyCursor(outside);
}

TEST(DesktopPictures, ThirtyTwoBitImagesUseAlphaWhenTheyHaveIt) {
  auto withAlpha = IconDib(
      4, 32, [](int x, int y) { return x == 0 && y == 0 ? 0x80FF0000u : (x == 1 && y == 0 ? 0xFF00FF00u : 0u); },
      [](int, int) { return false; });
  auto image = DecodeIconImage(withAlpha.data(), withAlpha.size());
  ASSERT_TRUE(image.has_value());
  DesktopPicture picture = PictureFromIconImage(*image, POINT{1, 1});
  ASSERT_EQ(picture.pixels.size(), 16u);
  // Straight alpha, as given, whatever the mask says.
  EXPECT_EQ(picture.pixels[0], 0x80FF0000u);
  EXPECT_EQ(picture.pixels[1], 0xFF00FF00u);
  EXPECT_EQ(picture.pixels[2], 0u);

  // Without any alpha the mask decides, as for older depths.
  auto noAlpha = IconDib(
      4, 32, [](int x, int) { return x == 0 ? 0x00123456u : 0u; }, [](int x, int) { return x != 0; });
  image = DecodeIconImage(noAlpha.data(), noAlpha.size());
  ASSERT_TRUE(image.has_value());
  picture = PictureFromIconImage(*image, POINT{0, 0});
  EXPECT_EQ(picture.pixels[0], 0xFF123456u);
  EXPECT_EQ(picture.pixels[1], 0u);
}

TEST(DesktopPictures, ImagesWhosePlanesDoNotCoverThemShowNothing) {
  IconImage broken;
  broken.width = 4;
  broken.height = 4;
  broken.color.assign(3, 0xFFFFFFFFu);
  broken.mask.assign(16, 0);
  DesktopPicture picture = PictureFromIconImage(broken, POINT{2, 2});
  EXPECT_EQ(picture.width, 0);
  EXPECT_TRUE(picture.pixels.empty());
}

TEST(DesktopPictures, StockCursorsAreRecognised) {
  EXPECT_EQ(StandardCursorId(LoadCursorA(nullptr, IDC_HAND)), 32649);
  EXPECT_EQ(StandardCursorId(LoadCursorA(nullptr, IDC_ARROW)), 32512);
  EXPECT_EQ(StandardCursorId(LoadCursorA(nullptr, IDC_UPARROW)), 32516);
  EXPECT_EQ(StandardCursorId(nullptr), 0);
  // An icon drawn like a stock one is still not the stock cursor.
  HCURSOR copy = CopyIcon(LoadCursorA(nullptr, IDC_HAND));
  EXPECT_EQ(StandardCursorId(copy), 0);
  DestroyCursor(copy);
  // Stock cursors keep their hot spots: the hand points with its finger tip.
  std::optional<DesktopPicture> hand = PictureOfIcon(LoadCursorA(nullptr, IDC_HAND));
  ASSERT_TRUE(hand.has_value());
  EXPECT_EQ(hand->width, 32);
  EXPECT_EQ(hand->hotspot.y, 1);
}

TEST(DesktopScale, MapsDesktopUnitsAndDevicePixelsBothWays) {
  DesktopScale doubled(2.0);
  EXPECT_EQ(doubled.ToDesktop(300), 150);
  EXPECT_EQ(doubled.ToDesktop(-50), -25);
  EXPECT_EQ(doubled.LengthToDesktop(1), 1);
  EXPECT_EQ(doubled.LengthToDesktop(0), 0);
  EXPECT_EQ(doubled.ToPixels(150), 300);
  POINT point = doubled.PointToPixels(10, 7);
  EXPECT_EQ(point.x, 20);
  EXPECT_EQ(point.y, 14);
  EXPECT_EQ(doubled.Dpi(96.0f), 192);

  DesktopScale oneAndHalf(1.5);
  EXPECT_EQ(oneAndHalf.Dpi(0.0f), 144);
  // A window laid out in pixels comes back to the same pixels, give or take the rounding of
  // one desktop unit.
  for (int pixels : {0, 1, 99, 100, 641, 1023}) {
    EXPECT_LE(std::abs(oneAndHalf.ToPixels(oneAndHalf.ToDesktop(pixels)) - pixels), 1) << pixels;
  }

  // Densities a desktop cannot mean count as none.
  for (double odd : {0.0, 0.5, -2.0, 9.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(DesktopScale(odd).Density(), 1.0) << odd;
  }
  DesktopScale plain;
  EXPECT_EQ(plain.ToDesktop(123), 123);
  // Unscaled, the reported resolution decides, in quarter steps; unbelievable reports are 96.
  EXPECT_EQ(plain.Dpi(96.0f), 96);
  EXPECT_EQ(plain.Dpi(140.0f), 144);
  EXPECT_EQ(plain.Dpi(260.0f), 192);
  EXPECT_EQ(plain.Dpi(1000.0f), 96);
  EXPECT_EQ(plain.Dpi(std::numeric_limits<float>::infinity()), 96);
}

}  // namespace
}  // namespace vel::platform

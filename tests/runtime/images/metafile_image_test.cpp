// Placeable metafiles: the header checks, the natural size from the bounding box and units per
// inch, and drawing that maps the bounding box onto the destination.

#include "runtime/images/metafile_image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/images/standard_image_kinds.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

using platform::testing::Canvas;

std::vector<std::uint8_t> Boxes() { return ReadBytes(PicturePath("boxes.wmf")); }

void SetU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// The metafile without its first two records (SetWindowOrg and SetWindowExt, five words each).
std::vector<std::uint8_t> WithoutWindowRecords(std::vector<std::uint8_t> bytes) {
  constexpr std::size_t kRecords = kPlaceableHeaderSize + 18;
  EXPECT_EQ(bytes[kRecords + 4], 0x0B);
  EXPECT_EQ(bytes[kRecords + 14], 0x0C);
  bytes.erase(bytes.begin() + kRecords, bytes.begin() + kRecords + 20);
  std::size_t words = bytes[kPlaceableHeaderSize + 6] | (bytes[kPlaceableHeaderSize + 7] << 8);
  SetU16(bytes, kPlaceableHeaderSize + 6, static_cast<std::uint16_t>(words - 10));
  return bytes;
}

std::unique_ptr<Image> Create(const std::vector<std::uint8_t>& bytes, const ImageOwner& owner = ImageOwner{}) {
  return CreateMetafileFromData(owner, bytes.data(), bytes.size(), 0);
}

TEST(MetafileHeaders, OnlyPlaceableMetafilesWithATrueSizeAreAccepted) {
  std::vector<std::uint8_t> bytes = Boxes();
  ASSERT_NE(Create(bytes), nullptr);
  EXPECT_EQ(CreateMetafileFromData(ImageOwner{}, bytes.data(), 22, 0), nullptr) << "22 bytes are no more than the header";
  std::vector<std::uint8_t> wrongKey = bytes;
  wrongKey[0] ^= 1;
  EXPECT_EQ(Create(wrongKey), nullptr);
  std::vector<std::uint8_t> noUnits = bytes;
  SetU16(noUnits, 14, 0);
  EXPECT_EQ(Create(noUnits), nullptr);
  std::vector<std::uint8_t> inverted = bytes;
  SetU16(inverted, 6, 2000);  // Left beyond right.
  EXPECT_EQ(Create(inverted), nullptr);
  // The metafile header claims more words than follow it: never read past the bytes given.
  std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 6);
  EXPECT_EQ(Create(cut), nullptr);
}

TEST(MetafileSize, OneInchAtTheDevicesResolution) {
  std::unique_ptr<Image> image = Create(Boxes());
  ASSERT_NE(image, nullptr);
  HDC screen = GetDC(nullptr);
  int ppi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(image->NaturalSize().cx, ppi) << "0..1440 at 1440 units per inch";
  EXPECT_EQ(image->NaturalSize().cy, ppi);
  // Half an inch high at 720 units per inch is one inch.
  std::vector<std::uint8_t> half = Boxes();
  SetU16(half, 12, 720);
  SetU16(half, 14, 720);
  image = Create(half);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->NaturalSize().cx, 2 * ppi);
  EXPECT_EQ(image->NaturalSize().cy, ppi);
}

TEST(MetafileDrawing, TheBoundingBoxIsMappedOntoTheDestinationAndClipped) {
  std::unique_ptr<Image> image = Create(Boxes());
  ASSERT_NE(image, nullptr);
  Canvas canvas(60, 60, RGB(0, 255, 0));
  int saved = SaveDC(canvas.Dc());
  image->Draw(canvas.Dc(), 6, 6, 48, 48);
  EXPECT_EQ(GetMapMode(canvas.Dc()), MM_TEXT) << "the DC's mapping is restored";
  RestoreDC(canvas.Dc(), saved);
  // The white square covers exactly the destination; the red box (150..750 of 1440) lands at
  // 6 + 5 .. 6 + 25.
  EXPECT_EQ(canvas.InkBounds(RGB(0, 255, 0)).left, 6);
  EXPECT_EQ(canvas.InkBounds(RGB(0, 255, 0)).right, 54);
  EXPECT_EQ(canvas.At(6 + 5, 6 + 5), RGB(200, 30, 60));
  EXPECT_EQ(canvas.At(6 + 4, 6 + 5), RGB(255, 255, 255));

  // A bounding box that holds part of the picture only: the rest is clipped away. The
  // picture's own window origin and extent records would map it again, so they go.
  std::vector<std::uint8_t> part = WithoutWindowRecords(Boxes());
  SetU16(part, 6, 600);   // left
  SetU16(part, 8, 450);   // top
  image = Create(part);
  ASSERT_NE(image, nullptr);
  Canvas clipped(100, 100, RGB(0, 255, 0));
  image->Draw(clipped.Dc(), 0, 0, 56, 66);
  EXPECT_EQ(clipped.At(0, 0), RGB(20, 120, 220)) << "(600, 450), the blue box's corner, maps to the origin";
  EXPECT_EQ(clipped.InkBounds(RGB(0, 255, 0)).right, 56);
  EXPECT_EQ(clipped.InkBounds(RGB(0, 255, 0)).bottom, 66);
}

TEST(MetafileSize, SizeOnlyMakesNoMetafile) {
  std::vector<std::uint8_t> bytes = Boxes();
  std::unique_ptr<Image> image = CreateMetafileFromData(ImageOwner{}, bytes.data(), bytes.size(), image_flags::kSizeOnly);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(static_cast<MetafileImage&>(*image).Handle(), nullptr);
  EXPECT_GT(image->NaturalSize().cx, 0);
}

}  // namespace
}  // namespace vel::images::testing

// Bitmaps: which files are bitmaps, hostile headers and codings, drawing, the clipboard, the
// greyed colour table and shared palettes.

#include "runtime/images/bitmap_image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/images/image_limits.h"
#include "runtime/images/shared_palette.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

using platform::testing::Canvas;

std::unique_ptr<Image> FromBytes(const std::vector<std::uint8_t>& bytes, unsigned flags = 0) {
  return CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size(), flags);
}

// A 2 x 2 8-bit bitmap: red, green on top; blue, white below (rows are stored bottom-up).
std::vector<std::uint8_t> FourColours() {
  return BmpFile(2, 2, 8, BI_RGB, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {2, 3, 0, 0, 0, 1, 0, 0});
}

void SetU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(BitmapFiles, AFileIsABitmapFrom59BytesBeginningWithBM) {
  // A 1 x 1 24-bit bitmap takes exactly 58 bytes.
  std::vector<std::uint8_t> tiny = BmpFile(1, 1, 24, BI_RGB, {}, {1, 2, 3, 0});
  ASSERT_EQ(tiny.size(), 58u);
  EXPECT_EQ(FromBytes(tiny), nullptr);
  std::vector<std::uint8_t> two = BmpFile(2, 1, 24, BI_RGB, {}, {1, 2, 3, 4, 5, 6, 0, 0});
  EXPECT_NE(FromBytes(two), nullptr);
  two[0] = 'X';
  EXPECT_EQ(FromBytes(two), nullptr);
  EXPECT_EQ(OpenImage(ImageOwner{}, PicturePath("no-such-file.bmp")), nullptr);
}

TEST(BitmapFiles, HostileHeadersGiveNoImage) {
  std::vector<std::uint8_t> good = FourColours();
  ASSERT_NE(FromBytes(good), nullptr);
  struct Change {
    std::size_t at;
    std::uint32_t value;
    const char* what;
  };
  const Change changes[] = {
      {18, 0, "no width"},
      {18, 0xFFFFFFFF, "negative width"},
      {22, 0, "no height"},
      {22, 0x80000000, "the most negative height"},
      {18, kMaxImageDimension + 1, "too wide"},
      {22, kMaxImageDimension + 1, "too high"},
      {14, 20, "an unknown header size"},
      {14, 0x7FFFFFFF, "a header larger than the file"},
      {28, 7, "7 bits per pixel"},
      {30, 4, "JPEG compression"},
      {30, BI_RLE4, "RLE4 at 8 bits per pixel"},
      {30, BI_BITFIELDS, "bit fields at 8 bits per pixel"},
      {18, 1000, "rows far shorter than the size says"},
  };
  for (const Change& change : changes) {
    std::vector<std::uint8_t> bytes = good;
    // Bytes 28.. hold a 16-bit bit count; the others are 32-bit fields.
    if (change.at == 28) {
      bytes[28] = static_cast<std::uint8_t>(change.value);
    } else {
      SetU32(bytes, change.at, change.value);
    }
    EXPECT_EQ(FromBytes(bytes), nullptr) << change.what;
  }
  // A huge picture within the dimension limit but beyond the pixel limit is refused before
  // anything is allocated for it.
  std::uint64_t limit = DecodedPixelLimit();
  SetDecodedPixelLimit(1000);
  std::vector<std::uint8_t> coded = BmpFile(100, 100, 8, BI_RLE8, {0}, {0, 1});
  EXPECT_EQ(FromBytes(coded), nullptr);
  SetDecodedPixelLimit(limit);
  EXPECT_NE(FromBytes(coded), nullptr);
}

TEST(BitmapFiles, AMissingLastRowPaddingIsToleratedAndAWrongRowOffsetIsNotTrusted) {
  std::vector<std::uint8_t> bytes = FourColours();
  bytes.resize(bytes.size() - 2);  // The last row's two padding bytes.
  std::unique_ptr<Image> image = FromBytes(bytes);
  ASSERT_NE(image, nullptr);
  auto drawn = DrawnPixels(*image);
  EXPECT_EQ(Rgb(*drawn, 1, 0), 0x00FF00u);
  bytes.pop_back();  // Now a pixel is missing.
  EXPECT_EQ(FromBytes(bytes), nullptr);

  std::vector<std::uint8_t> offset = FourColours();
  SetU32(offset, 10, 0xFFFFFF00);  // Beyond the file: the rows follow the table.
  image = FromBytes(offset);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 1), 0x0000FFu);
}

TEST(BitmapCodings, RunsAreCutAtTheRightEdgeAndSkippedPixelsAreColourZero) {
  std::vector<std::uint32_t> table = {0x000000, 0xFF0000, 0x00FF00};
  // Bottom row: a run of 9 red into a picture 4 wide, then end of line; second row: a delta
  // that leaves the picture, so the third row stays colour 0.
  std::vector<std::uint8_t> coded = {9, 1, 0, 0, 0, 2, 1, 5, 3, 2};
  std::unique_ptr<Image> image = FromBytes(BmpFile(4, 3, 8, BI_RLE8, table, coded));
  ASSERT_NE(image, nullptr);
  auto drawn = DrawnPixels(*image);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(Rgb(*drawn, x, 2), 0xFF0000u);
    EXPECT_EQ(Rgb(*drawn, x, 0), 0x000000u);
  }
  EXPECT_EQ(Rgb(*drawn, 0, 1), 0x000000u) << "the delta moved past the top before this run";
}

TEST(BitmapCodings, LiteralRunsThatOutrunTheDataStopThere) {
  std::vector<std::uint32_t> table = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  // A literal run of 200 pixels of which 3 are present.
  std::unique_ptr<Image> image = FromBytes(BmpFile(8, 1, 8, BI_RLE8, table, {0, 200, 1, 2, 3}));
  ASSERT_NE(image, nullptr);
  auto drawn = DrawnPixels(*image);
  EXPECT_EQ(Rgb(*drawn, 0, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(*drawn, 2, 0), 0x0000FFu);
  EXPECT_EQ(Rgb(*drawn, 3, 0), 0x000000u);

  // RLE4: an odd literal run of 3 pixels takes two bytes, then a run alternating two colours.
  std::vector<std::uint8_t> coded = {0, 3, 0x12, 0x30, 4, 0x21, 0, 1};
  image = FromBytes(BmpFile(8, 1, 4, BI_RLE4, table, coded));
  ASSERT_NE(image, nullptr);
  drawn = DrawnPixels(*image);
  const std::uint32_t expected[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FF00, 0xFF0000, 0x000000};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(Rgb(*drawn, x, 0), expected[x]) << x;
}

TEST(BitmapDrawing, StretchesTheRowsWithTheirOwnColours) {
  std::unique_ptr<Image> image = FromBytes(FourColours());
  ASSERT_NE(image, nullptr);
  Canvas canvas(8, 8);
  // A palette of the DC's own does not change the picture's colours.
  LOGPALETTE grey{0x300, 1, {{128, 128, 128, 0}}};
  HPALETTE palette = CreatePalette(&grey);
  SelectPalette(canvas.Dc(), palette, FALSE);
  image->Draw(canvas.Dc(), 2, 2, 4, 4);
  EXPECT_EQ(canvas.At(2, 2), platform::testing::kRed);
  EXPECT_EQ(canvas.At(5, 3), platform::testing::kGreen);
  EXPECT_EQ(canvas.At(3, 5), platform::testing::kBlue);
  EXPECT_EQ(canvas.At(5, 5), platform::testing::kWhite);
  EXPECT_EQ(canvas.At(1, 1), platform::testing::kWhite);
  EXPECT_EQ(canvas.Count(platform::testing::kRed), 4);
  EXPECT_EQ(GetStretchBltMode(canvas.Dc()), BLACKONWHITE) << "the DC's state is restored";
  EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PAL), palette);
  SelectPalette(canvas.Dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  DeleteObject(palette);
}

TEST(BitmapDrawing, AGreyedTableDrawsGreyLevelsUntilItIsRestored) {
  std::unique_ptr<Image> image = FromBytes(FourColours());
  ASSERT_NE(image, nullptr);
  image->MakeGreyedColorTable();
  auto drawn = DrawnPixels(*image);
  // Red averages 85 (grey 64), green 85 (64), blue 85 (64), white 255.
  EXPECT_EQ(Rgb(*drawn, 0, 0), 0x404040u);
  EXPECT_EQ(Rgb(*drawn, 1, 1), 0xFFFFFFu);
  image->RestoreColorTable();
  EXPECT_EQ(Rgb(*DrawnPixels(*image), 0, 0), 0xFF0000u);
}

TEST(BitmapClipboard, CopiesAPackedDibAndNothingForASizeOnlyImage) {
  std::unique_ptr<Image> image = FromBytes(FourColours());
  ASSERT_NE(image, nullptr);
  image->CopyToClipboard(nullptr);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_DIB);
  ASSERT_NE(data, nullptr);
  auto* dib = static_cast<const std::uint8_t*>(GlobalLock(data));
  std::vector<std::uint8_t> file = FourColours();
  // The information header, a table of 256 entries (the four, then black) and the rows.
  ASSERT_EQ(GlobalSize(data), 40u + 1024u + 8u);
  EXPECT_EQ(std::memcmp(dib + 4, file.data() + 18, 12), 0) << "width, height, planes and bits";
  EXPECT_EQ(std::memcmp(dib + 40, file.data() + 54, 16), 0) << "the colour table";
  EXPECT_EQ(std::memcmp(dib + 40 + 1024, file.data() + 70, 8), 0) << "the rows";
  GlobalUnlock(data);
  EmptyClipboard();
  CloseClipboard();

  std::unique_ptr<Image> sizeOnly = FromBytes(FourColours(), image_flags::kSizeOnly);
  ASSERT_NE(sizeOnly, nullptr);
  EXPECT_EQ(sizeOnly->NaturalSize().cx, 2);
  EXPECT_TRUE(sizeOnly->Storage().Empty());
  sizeOnly->CopyToClipboard(nullptr);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
  CloseClipboard();
}

TEST(BitmapPalettes, ImportantOrUsedColoursJoinTheSharedPalette) {
  std::vector<std::uint8_t> bytes = FourColours();
  SetU32(bytes, 50, 3);  // Three important colours.
  std::unique_ptr<Image> image = FromBytes(bytes);
  ASSERT_NE(image, nullptr);
  SharedPalette palette;
  image->SetPalette(palette);
  ASSERT_EQ(palette.Entries().size(), 3u);
  EXPECT_EQ(palette.Entries()[2].peBlue, 255);
  image->SetPalette(palette);
  EXPECT_EQ(palette.Entries().size(), 3u) << "colours it holds are not added twice";
  ASSERT_NE(palette.Handle(), nullptr);
  EXPECT_EQ(GetPaletteEntries(palette.Handle(), 0, 0, nullptr), 3u);
}

TEST(BitmapPalettes, AnImageShownInAWindowTakesThePaletteOfTheWindowOrItsParents) {
  HWND top = CreateWindowExA(0, "Static", "top", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  std::unique_ptr<Image> image = FromBytes(FourColours());
  ASSERT_NE(image, nullptr);
  ShareWindowPalette(*image, child);  // No window has one yet.
  SharedPalette* palette = CreateWindowSharedPalette(top);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(CreateWindowSharedPalette(top), palette) << "a window has one shared palette";
  EXPECT_EQ(WindowSharedPalette(child), nullptr);
  ShareWindowPalette(*image, child);
  EXPECT_EQ(palette->Entries().size(), 4u) << "the header uses four colours";
  DestroyWindowSharedPalette(top);
  EXPECT_EQ(WindowSharedPalette(top), nullptr);
  EXPECT_EQ(CreateWindowSharedPalette(nullptr), nullptr);
  DestroyWindow(top);
}

TEST(BitmapPalettes, ATrueColourBitmapIsReducedFirstAndOtherDepthsAddNothing) {
  std::unique_ptr<Image> photo = OpenImage(ImageOwner{}, PicturePath("bmp24.bmp"));
  ASSERT_NE(photo, nullptr);
  SharedPalette palette;
  photo->SetPalette(palette);
  auto& bitmap = static_cast<BitmapImage&>(*photo);
  EXPECT_EQ(bitmap.BitCount(), 8);
  EXPECT_FALSE(palette.Entries().empty());
  EXPECT_LE(palette.Entries().size(), 256u);

  std::unique_ptr<Image> sixteen = OpenImage(ImageOwner{}, PicturePath("bmp16.bmp"));
  ASSERT_NE(sixteen, nullptr);
  SharedPalette untouched;
  sixteen->SetPalette(untouched);
  EXPECT_TRUE(untouched.Entries().empty());
}

}  // namespace
}  // namespace vel::images::testing

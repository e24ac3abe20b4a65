// JPEG pictures: decoded into the BMP layout, learnt by size alone, and corrupt files that give
// no picture instead of ending the program.

#include "runtime/images/jpeg_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/image_limits.h"
#include "runtime/images/jpeg_library.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

std::vector<std::uint8_t> Baseline() { return ReadBytes(PicturePath("baseline.jpg")); }

// The offset of the first marker 0xFF `code` in a JPEG file.
std::size_t MarkerAt(const std::vector<std::uint8_t>& bytes, std::uint8_t code) {
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == code) return i;
  }
  return 0;
}

TEST(JpegPictures, DecodeIntoABottomUpBmpOfTheirOwn) {
  std::vector<std::uint8_t> bytes = Baseline();
  std::optional<ImageStorage> bmp = DecodeJpeg(bytes.data(), bytes.size());
  ASSERT_TRUE(bmp.has_value());
  EXPECT_EQ(bmp->Data()[0], 'B');
  EXPECT_EQ(bmp->Data()[1], 'M');
  std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr);
  EXPECT_FALSE(image->NeedsStorage()) << "the decoded picture is the image's own";
  EXPECT_NE(image->Storage().Data(), bytes.data());
  EXPECT_EQ(image->ByteSize(), bytes.size());
  EXPECT_EQ(static_cast<BitmapImage&>(*image).Layout().topDown, false);
}

TEST(JpegPictures, SizeOnlyReadsTheHeaderAlone) {
  std::vector<std::uint8_t> bytes = Baseline();
  std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size(), image_flags::kSizeOnly);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->SizeOnly());
  EXPECT_TRUE(image->Storage().Empty());
  EXPECT_EQ(image->NaturalSize().cx, 37);
  EXPECT_EQ(image->NaturalSize().cy, 23);
  EXPECT_EQ(DrawnPixels(*image, RGB(1, 2, 3))->Pixel(0, 0), 0x010203u) << "nothing is drawn";
}

TEST(JpegPictures, CorruptFilesGiveNoPicture) {
  std::vector<std::uint8_t> bytes = Baseline();
  // A Huffman table claiming more codes than it can hold.
  std::vector<std::uint8_t> bogusTable = bytes;
  std::size_t table = MarkerAt(bogusTable, 0xC4);
  ASSERT_NE(table, 0u);
  std::fill(bogusTable.begin() + static_cast<std::ptrdiff_t>(table) + 5,
            bogusTable.begin() + static_cast<std::ptrdiff_t>(table) + 21, 0xFF);
  EXPECT_EQ(DecodeJpeg(bogusTable.data(), bogusTable.size()), std::nullopt);
  EXPECT_EQ(CreateImageFromData(ImageOwner{}, bogusTable.data(), bogusTable.size()), nullptr);

  // A frame of zero width.
  std::vector<std::uint8_t> noWidth = bytes;
  std::size_t frame = MarkerAt(noWidth, 0xC0);
  ASSERT_NE(frame, 0u);
  noWidth[frame + 7] = 0;
  noWidth[frame + 8] = 0;
  EXPECT_EQ(DecodeJpeg(noWidth.data(), noWidth.size()), std::nullopt);

  std::vector<std::uint8_t> noise(300);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
  noise[0] = 0xFF;
  noise[1] = 0xD8;
  EXPECT_EQ(DecodeJpeg(noise.data(), noise.size()), std::nullopt);
  EXPECT_EQ(JpegSize(noise.data(), 2), std::nullopt);
}

TEST(JpegPictures, APictureCutShortInItsDataStillShowsWhatArrived) {
  std::vector<std::uint8_t> bytes = Baseline();
  std::size_t scan = MarkerAt(bytes, 0xDA);
  ASSERT_NE(scan, 0u);
  bytes.resize(scan + 40);
  std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr) << "the library only warns about data that ends early";
  EXPECT_EQ(image->NaturalSize().cx, 37);
}

TEST(JpegPictures, PicturesBeyondThePixelLimitAreRefusedBeforeDecoding) {
  std::vector<std::uint8_t> bytes = Baseline();
  std::uint64_t limit = DecodedPixelLimit();
  SetDecodedPixelLimit(37 * 23 - 1);
  EXPECT_EQ(DecodeJpeg(bytes.data(), bytes.size()), std::nullopt);
  SetDecodedPixelLimit(limit);
  EXPECT_NE(DecodeJpeg(bytes.data(), bytes.size()), std::nullopt);
}

// The library is opened at the first picture; without it a JPEG file is no picture, and the
// pictures come back with it.
TEST(JpegPictures, WithoutTheLibraryThereIsNoPictureAndNoFault) {
  std::vector<std::uint8_t> bytes = Baseline();
  WithholdJpegLibrary(true);
  EXPECT_EQ(DecodeJpeg(bytes.data(), bytes.size()), std::nullopt);
  EXPECT_EQ(JpegSize(bytes.data(), bytes.size()), std::nullopt);
  EXPECT_EQ(CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size()), nullptr);
  EXPECT_EQ(CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size(), image_flags::kSizeOnly), nullptr);
  WithholdJpegLibrary(false);
  EXPECT_NE(DecodeJpeg(bytes.data(), bytes.size()), std::nullopt);
}

TEST(JpegLibrary, LoadsOnlyALibraryWithEveryFunction) {
  JpegLibrary table;
  std::string whyNot;
  ASSERT_TRUE(LoadJpegLibrary(kJpegLibraryName, table, whyNot)) << whyNot;
  EXPECT_NE(table.createDecompress, nullptr);
  EXPECT_NE(table.finishDecompress, nullptr);
  ASSERT_NE(JpegDecoderLibrary(), nullptr);
  EXPECT_EQ(JpegDecoderLibrary()->readScanlines, table.readScanlines);

  EXPECT_FALSE(LoadJpegLibrary("libvel-no-such-jpeg.so.62", table, whyNot));
  EXPECT_NE(whyNot.find("libvel-no-such-jpeg.so.62"), std::string::npos) << whyNot;
  // A library that opens but is not the JPEG library is refused, naming what it lacks.
  EXPECT_FALSE(LoadJpegLibrary("libm.so.6", table, whyNot));
  EXPECT_EQ(whyNot, "it has no jpeg_std_error");
  EXPECT_EQ(table.readHeader, nullptr);
}

}  // namespace
}  // namespace vel::images::testing

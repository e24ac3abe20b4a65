// PCX pictures: the checks and their reasons, planes and packed pixels, runs across planes and
// lines, data that ends early, and every layout at widths that fill a byte and that do not.

#include "runtime/images/pcx_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

// A 128-byte header for a picture of width x height.
std::vector<std::uint8_t> Header(int version, int bitsPerPixel, int planes, int width, int height,
                                 int lineBytes, bool coded = true) {
  std::vector<std::uint8_t> header(128, 0);
  header[0] = 0x0A;
  header[1] = static_cast<std::uint8_t>(version);
  header[2] = coded ? 1 : 0;
  header[3] = static_cast<std::uint8_t>(bitsPerPixel);
  header[8] = static_cast<std::uint8_t>(width - 1);
  header[10] = static_cast<std::uint8_t>(height - 1);
  header[65] = static_cast<std::uint8_t>(planes);
  header[66] = static_cast<std::uint8_t>(lineBytes);
  return header;
}

std::vector<std::uint8_t> EndPalette() {
  std::vector<std::uint8_t> palette{12};
  for (int i = 0; i < 256; ++i) {
    palette.push_back(static_cast<std::uint8_t>(i));
    palette.push_back(static_cast<std::uint8_t>(255 - i));
    palette.push_back(0);
  }
  return palette;
}

std::string Refusal(const std::vector<std::uint8_t>& bytes) {
  const char* reason = DecodePcx(bytes.data(), bytes.size()).refusal;
  return reason != nullptr ? reason : "";
}

TEST(PcxChecks, EachRefusalNamesItsReason) {
  std::vector<std::uint8_t> bytes = Header(3, 8, 1, 2, 2, 2);
  EXPECT_EQ(Refusal(bytes), "Not a PCX file") << "version 3";
  bytes = Header(5, 8, 1, 2, 2, 2);
  bytes[0] = 0x0B;
  EXPECT_EQ(Refusal(bytes), "Not a PCX file") << "not the PCX maker's byte";
  EXPECT_EQ(Refusal(std::vector<std::uint8_t>(60, 0)), "Not a PCX file") << "shorter than the header";
  EXPECT_EQ(Refusal(Header(5, 8, 3, 2, 2, 2)), "Upto 256 colours supported");
  EXPECT_EQ(Refusal(Header(5, 8, 4, 2, 2, 2)), "Upto 256 colours supported")
      << "2^32 colours do not overflow";
  EXPECT_EQ(Refusal(Header(5, 8, 1, 2, 2, 2)), "Cannot handle V3 pallettes");
  bytes = Header(5, 8, 1, 2, 2, 2);
  std::vector<std::uint8_t> palette = EndPalette();
  palette[0] = 11;
  bytes.insert(bytes.end(), palette.begin(), palette.end());
  EXPECT_EQ(Refusal(bytes), "Missing pallette marker");
  bytes = Header(5, 8, 1, 2, 2, 2);
  bytes.resize(800, 0);
  bytes[800 - 769] = 12;
  EXPECT_EQ(Refusal(bytes), "Unable to read pallette") << "a palette inside the header";
  bytes = Header(5, 8, 1, 2, 2, 2);
  bytes[8] = 0;
  bytes[4] = 5;  // Xmin beyond Xmax.
  palette = EndPalette();
  bytes.insert(bytes.end(), palette.begin(), palette.end());
  EXPECT_EQ(Refusal(bytes), "Not a PCX file") << "no width";
}

TEST(PcxDecoding, RunsContinueAcrossPlanesAndLines) {
  // Two lines of 8 pixels in four 1-bit planes, one byte each plus a pad byte: one run of 16
  // bytes of 0xF0 sets the left four pixels to 15 in both lines.
  std::vector<std::uint8_t> bytes = Header(5, 1, 4, 8, 2, 2);
  for (int i = 0; i < 16; ++i) bytes[16 + i * 3] = static_cast<std::uint8_t>(i * 16);
  bytes.push_back(0xC0 | 16);
  bytes.push_back(0xF0);
  PcxResult decoded = DecodePcx(bytes.data(), bytes.size());
  ASSERT_TRUE(decoded.bitmap.has_value());
  auto image = BitmapImage::FromStorage(std::move(*decoded.bitmap), 0, ".pcx");
  ASSERT_NE(image, nullptr);
  auto drawn = DrawnPixels(*image);
  EXPECT_EQ(Rgb(*drawn, 0, 0), 0xF00000u) << "colour 15 of the header palette";
  EXPECT_EQ(Rgb(*drawn, 3, 1), 0xF00000u);
  EXPECT_EQ(Rgb(*drawn, 4, 0), 0x000000u);
}

TEST(PcxDecoding, DataThatEndsEarlyLeavesColourZeroAndPlainLinesAreRead) {
  // 8-bit, plain (not run-length coded), three pixels of an odd width padded to four bytes;
  // the second line is missing.
  std::vector<std::uint8_t> bytes = Header(5, 8, 1, 3, 2, 4, false);
  for (std::uint8_t b : {7, 0xC1, 9, 0}) bytes.push_back(b);
  std::vector<std::uint8_t> palette = EndPalette();
  bytes.insert(bytes.end(), palette.begin(), palette.end());
  std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr);
  EXPECT_STREQ(image->KindTag(), ".pcx");
  auto drawn = DrawnPixels(*image);
  EXPECT_EQ(Rgb(*drawn, 0, 0), 0x07F800u);
  EXPECT_EQ(Rgb(*drawn, 1, 0), 0xC13E00u) << "a byte with the two top bits set is a pixel when not coded";
  EXPECT_EQ(Rgb(*drawn, 2, 1), 0x00FF00u) << "colour 0";
}

TEST(PcxDecoding, EightBitLinesWithoutPadBytes) {
  // Two pixels a line and two bytes a line: nothing is left over to read aside.
  std::vector<std::uint8_t> bytes = Header(5, 8, 1, 2, 2, 2);
  for (std::uint8_t b : {0xC4, 3}) bytes.push_back(b);
  std::vector<std::uint8_t> palette = EndPalette();
  bytes.insert(bytes.end(), palette.begin(), palette.end());
  std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr);
  auto drawn = DrawnPixels(*image);
  EXPECT_EQ(Rgb(*drawn, 0, 0), 0x03FC00u);
  EXPECT_EQ(Rgb(*drawn, 1, 1), 0x03FC00u) << "one run of four bytes fills both lines";
}

TEST(PcxDecoding, PackedFourBitPixels) {
  std::vector<std::uint8_t> bytes = Header(5, 4, 1, 4, 1, 2, false);
  bytes[16 + 3 * 1] = 0xFF;      // Colour 1 red.
  bytes[16 + 3 * 2 + 2] = 0xFF;  // Colour 2 blue.
  bytes.push_back(0x12);
  bytes.push_back(0x21);
  std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr);
  auto drawn = DrawnPixels(*image);
  EXPECT_EQ(Rgb(*drawn, 0, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(*drawn, 1, 0), 0x0000FFu);
  EXPECT_EQ(Rgb(*drawn, 3, 0), 0xFF0000u);
}

// The pixel values of a picture in one of the layouts a PCX line can have: its lines as the
// file holds them (plane after plane) and run-length coded as one stream, so runs cross planes
// and lines.
struct LayoutPicture {
  std::vector<std::vector<int>> pixels;  // [y][x]
  std::vector<std::uint8_t> file;
};

LayoutPicture MakeLayoutPicture(int bitsPerPixel, int planes, int width, int height, std::mt19937& random) {
  LayoutPicture picture;
  int valueBits = bitsPerPixel * planes;
  std::uniform_int_distribution<int> value(0, (1 << valueBits) - 1);
  std::uniform_int_distribution<int> repeat(0, 2);
  int bytesPerLine = (width * bitsPerPixel + 7) / 8;
  bytesPerLine += bytesPerLine % 2;
  std::vector<std::uint8_t> stream;
  for (int y = 0; y < height; ++y) {
    std::vector<int> row;
    for (int x = 0; x < width; ++x) row.push_back(x > 0 && repeat(random) != 0 ? row.back() : value(random));
    picture.pixels.push_back(row);
    for (int plane = 0; plane < planes; ++plane) {
      // Pad bits and bytes are set, as some writers leave them: they must not show.
      std::vector<std::uint8_t> line(static_cast<std::size_t>(bytesPerLine), 0xFF);
      for (int x = 0; x < width; ++x) {
        int bits =
            planes > 1 ? (row[static_cast<std::size_t>(x)] >> plane) & 1 : row[static_cast<std::size_t>(x)];
        int shift = 8 - bitsPerPixel * (x % (8 / bitsPerPixel) + 1);
        std::uint8_t& byte = line[static_cast<std::size_t>(x * bitsPerPixel / 8)];
        byte = static_cast<std::uint8_t>((byte & ~(((1 << bitsPerPixel) - 1) << shift)) | (bits << shift));
      }
      stream.insert(stream.end(), line.begin(), line.end());
    }
  }
  picture.file = Header(5, bitsPerPixel, planes, width, height, bytesPerLine);
  for (std::size_t i = 0; i < stream.size();) {
    std::size_t run = 1;
    while (i + run < stream.size() && run < 63 && stream[i + run] == stream[i]) ++run;
    if (run > 1 || stream[i] >= 0xC0) picture.file.push_back(static_cast<std::uint8_t>(0xC0 | run));
    picture.file.push_back(stream[i]);
    i += run;
  }
  if (valueBits == 8) {
    std::vector<std::uint8_t> palette = EndPalette();
    picture.file.insert(picture.file.end(), palette.begin(), palette.end());
  }
  return picture;
}

TEST(PcxDecoding, EveryLayoutAtWidthsThatFillABytePartly) {
  std::mt19937 random(18);
  struct Layout {
    int bitsPerPixel;
    int planes;
  };
  for (Layout layout :
       {Layout{1, 1}, Layout{1, 2}, Layout{1, 3}, Layout{1, 4}, Layout{2, 1}, Layout{4, 1}, Layout{8, 1}}) {
    for (int width : {1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 33}) {
      SCOPED_TRACE(::testing::Message()
                   << layout.bitsPerPixel << " bits x " << layout.planes << " planes, width " << width);
      LayoutPicture picture = MakeLayoutPicture(layout.bitsPerPixel, layout.planes, width, 5, random);
      PcxResult decoded = DecodePcx(picture.file.data(), picture.file.size());
      ASSERT_TRUE(decoded.bitmap.has_value()) << decoded.refusal;
      auto image = BitmapImage::FromStorage(std::move(*decoded.bitmap), 0, ".pcx");
      ASSERT_NE(image, nullptr);
      const BmpLayout& bmp = image->Layout();
      for (int y = 0; y < 5; ++y) {
        const std::uint8_t* row = image->Rows() + static_cast<std::size_t>(4 - y) * bmp.stride;
        for (int x = 0; x < width; ++x) {
          int got = bmp.bitCount == 8 ? row[x] : (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
          ASSERT_EQ(got, picture.pixels[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])
              << "pixel " << x << ", " << y;
        }
        if (bmp.bitCount == 4 && width % 2 != 0) {
          EXPECT_EQ(row[width / 2] & 0x0F, 0) << "padding of line " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vel::images::testing

// Loading a named picture's bytes: the program's "IMAGE" resources first for "~" names, then
// files, with what the image keeps of them.

#include "runtime/images/image_loader.h"

#include <gtest/gtest.h>

#include <sys/time.h>

#include <ctime>
#include <string>

#include "platform/gdi/png_codec.h"
#include "runtime/images/bitmap_image.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

TEST(ImageResources, ProgramPicturesStayBackedByTheirResource) {
  std::unique_ptr<Image> logo = OpenImage(ImageOwner{}, "~logo.bmp");
  ASSERT_NE(logo, nullptr);
  EXPECT_TRUE(logo->ResourceBacked());
  EXPECT_TRUE(logo->Storage().IsResource());
  EXPECT_EQ(logo->FileTime(), 0u);
  HRSRC found = FindResourceA(GetModuleHandleA(nullptr), "LOGO_BMP", "IMAGE");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(logo->ByteSize(), SizeofResource(GetModuleHandleA(nullptr), found));
  auto reference = platform::ReadPngFile(PicturePath("bmp8.bmp.png"));
  EXPECT_EQ(CompareWithReference(*DrawnPixels(*logo), *reference), "");
}

TEST(ImageResources, DecodedPicturesKeepTheirOwnCopy) {
  std::unique_ptr<Image> photo = OpenImage(ImageOwner{}, "~Photo.Jpg");
  ASSERT_NE(photo, nullptr);
  EXPECT_STREQ(photo->KindTag(), ".jpg");
  EXPECT_FALSE(photo->ResourceBacked()) << "the decoded bitmap is held in a global memory block";
  std::unique_ptr<Image> boxes = OpenImage(ImageOwner{}, "~BOXES.WMF");
  ASSERT_NE(boxes, nullptr);
  EXPECT_STREQ(boxes->KindTag(), ".wmf");
}

TEST(ImageResources, AResourceOfTheWrongKindOrNoneFallsBackToTheFile) {
  // BROKEN_BMP holds JPEG bytes, which are no bitmap; there is no file of that name either.
  EXPECT_EQ(OpenImage(ImageOwner{}, "~BROKEN.BMP"), nullptr);
  EXPECT_EQ(OpenImage(ImageOwner{}, "~NOSUCH.BMP"), nullptr);
  // A "~" name without a resource is still looked for as a file.
  std::string path = PicturePath("bmp4.bmp");
  std::unique_ptr<Image> file = OpenImage(ImageOwner{}, "~" + path);
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(file->ResourceBacked());
}

TEST(ImageFiles, AFileIsReadWholeIntoTheImagesOwnBlockWithItsLocalWriteTime) {
  std::vector<std::uint8_t> bytes = ReadBytes(PicturePath("bmp4.bmp"));
  std::string path = ::testing::TempDir() + "whole.bmp";
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
  std::tm written{};
  written.tm_year = 2023 - 1900;
  written.tm_mon = 5;
  written.tm_mday = 15;
  written.tm_hour = 14;
  written.tm_min = 30;
  written.tm_sec = 42;
  written.tm_isdst = -1;
  timeval times[2] = {{std::mktime(&written), 0}, {std::mktime(&written), 0}};
  ASSERT_EQ(utimes(path.c_str(), times), 0);
  std::unique_ptr<Image> image = OpenImage(ImageOwner{}, path);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->ByteSize(), bytes.size());
  const DWORD dosDate = ((2023 - 1980) << 9) | (6 << 5) | 15;
  const DWORD dosTime = (14 << 11) | (30 << 5) | (42 / 2);
  EXPECT_EQ(image->FileTime(), (dosDate << 16) | dosTime) << std::hex << image->FileTime();
  EXPECT_FALSE(image->NeedsStorage()) << "the block read from the file became the image's storage";
  EXPECT_EQ(std::vector<std::uint8_t>(image->Storage().Data(), image->Storage().Data() + image->Storage().Size()), bytes);
  std::remove(path.c_str());
}

TEST(ImageFiles, TheBlockIsFreedWhenTheImageKeepsNoCopy) {
  // A PCX file decodes into a bitmap of its own; the file's block is not the image's.
  std::unique_ptr<Image> pcx = OpenImage(ImageOwner{}, PicturePath("pcx8.pcx"));
  ASSERT_NE(pcx, nullptr);
  EXPECT_EQ(pcx->ByteSize(), ReadBytes(PicturePath("pcx8.pcx")).size());
  EXPECT_EQ(pcx->Storage().Data()[0], 'B');
  std::unique_ptr<Image> sizeOnly = OpenImage(ImageOwner{}, PicturePath("bmp8.bmp"), image_flags::kSizeOnly);
  ASSERT_NE(sizeOnly, nullptr);
  EXPECT_TRUE(sizeOnly->Storage().Empty());
  EXPECT_EQ(sizeOnly->NaturalSize().cx, 37);
}

}  // namespace
}  // namespace vel::images::testing

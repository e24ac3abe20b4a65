// Icons by name: stock icons and the program's icon resources by binary reference, the
// program's icons by name, icon files with an index, and their drawing at natural size.

#include "runtime/images/icon_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/images/standard_image_kinds.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

using platform::testing::Canvas;

HICON HandleOf(const std::unique_ptr<Image>& image) { return static_cast<IconImage&>(*image).Handle(); }

TEST(IconNames, BinaryReferencesNameStockIconsAndTheProgramsIcons) {
  // 0xFF 0x01 n: stock icon n - 1 (32514 - 1 = IDI_HAND).
  std::unique_ptr<Image> stock = OpenImage(ImageOwner{}, std::string("\xFF\x01\x02\x7F", 4));
  ASSERT_NE(stock, nullptr);
  EXPECT_STREQ(stock->KindTag(), ".ico");
  EXPECT_EQ(HandleOf(stock), LoadIconA(nullptr, IDI_HAND));
  // 0xFF 0x02 n: the program's icon resource n - 1.
  std::unique_ptr<Image> program = OpenImage(ImageOwner{}, std::string("\xFF\x02\x08\x00", 4));
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(HandleOf(program), LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(7)));
  EXPECT_EQ(OpenImage(ImageOwner{}, std::string("\xFF\x02\x63\x00", 4)), nullptr) << "no icon resource 98";
}

TEST(IconNames, TheProgramsIconsByNameAndIconFilesByIndex) {
  std::unique_ptr<Image> get = OpenImage(ImageOwner{}, "~GET.ICO");
  ASSERT_NE(get, nullptr);
  EXPECT_EQ(HandleOf(get), LoadIconA(GetModuleHandleA(nullptr), "GET_ICO"));
  EXPECT_EQ(OpenImage(ImageOwner{}, "~Missing.ico"), nullptr);

  std::string file = PicturePath("masked8.ico");
  EXPECT_NE(OpenImage(ImageOwner{}, file), nullptr);
  EXPECT_NE(OpenImage(ImageOwner{}, file + "[0]"), nullptr);
  EXPECT_EQ(OpenImage(ImageOwner{}, file + "[1]"), nullptr) << "an icon file holds one icon, index 0";
  EXPECT_NE(OpenImage(ImageOwner{}, "!ICON:" + file), nullptr);
  EXPECT_NE(OpenImage(ImageOwner{}, "!icon:~GET.ICO"), nullptr);
  EXPECT_EQ(OpenImage(ImageOwner{}, PicturePath("missing.ico")), nullptr);
  // A file that holds no icon: ExtractIconA's answer 1 is no icon.
  EXPECT_EQ(OpenImage(ImageOwner{}, "!ICON:" + PicturePath("bmp24.bmp")), nullptr);
}

TEST(IconImages, DrawAtTheirNaturalSizeWhateverTheRectangle) {
  std::unique_ptr<Image> icon = OpenImage(ImageOwner{}, PicturePath("masked8.ico"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->NaturalSize().cx, GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(icon->NaturalSize().cy, GetSystemMetrics(SM_CYICON));
  Canvas canvas(80, 80);
  icon->Draw(canvas.Dc(), 5, 6, 70, 70);
  RECT ink = canvas.InkBounds();
  EXPECT_GE(ink.left, 5);
  EXPECT_GE(ink.top, 6);
  EXPECT_LE(ink.right, 5 + 32);
  EXPECT_LE(ink.bottom, 6 + 32);
}

SIZE PixelSizeOf(const std::unique_ptr<Image>& image) { return static_cast<IconImage&>(*image).PixelSize(); }

bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

TEST(IconSizes, AnOwnerWithAnIconSizeGetsTheImageNearestItFromTheProgramOrAFile) {
  ImageOwner small;
  small.iconSize = 12;
  const std::string file = PicturePath("masked8.ico");
  for (const std::string& name : {std::string("~GET.ICO"), std::string("\xFF\x02\x08\x00", 4), file, file + "[0]"}) {
    std::unique_ptr<Image> standard = OpenImage(ImageOwner{}, name);
    std::unique_ptr<Image> near = OpenImage(small, name);
    ASSERT_NE(standard, nullptr) << name;
    ASSERT_NE(near, nullptr) << name;
    EXPECT_TRUE(PixelSizeOf(standard) == (SIZE{32, 32})) << name;
    EXPECT_TRUE(PixelSizeOf(near) == (SIZE{16, 16})) << name << ": the 16-pixel image is the nearest";
    // The natural size stays the standard icon's, whichever image was chosen.
    EXPECT_EQ(near->NaturalSize().cx, GetSystemMetrics(SM_CXICON));
  }
  ImageOwner large;
  large.iconSize = 30;
  EXPECT_TRUE(PixelSizeOf(OpenImage(large, file)) == (SIZE{32, 32}));
  // A stock icon has one size, and a missing name stays missing at any size.
  EXPECT_NE(OpenImage(small, std::string("\xFF\x01\x02\x7F", 4)), nullptr);
  EXPECT_EQ(OpenImage(small, "~Missing.ico"), nullptr);
  EXPECT_EQ(OpenImage(small, PicturePath("missing.ico")), nullptr);
  EXPECT_EQ(OpenImage(small, file + "[1]"), nullptr);
}

TEST(IconSizes, AnIconFileWhoseDirectoryLiesOrThatIsFarTooLargeGivesNoIcon) {
  std::vector<std::uint8_t> bytes = ReadBytes(PicturePath("masked8.ico"));
  ASSERT_GT(bytes.size(), 6u + 2 * 16u);
  auto write = [](const std::string& path, const std::vector<std::uint8_t>& content) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(content.data()),
                                               static_cast<std::streamsize>(content.size()));
  };
  const std::string path = ::testing::TempDir() + "icon_sizes_lying.ico";
  ImageOwner small;
  small.iconSize = 16;
  // Every image placed past the end of the file.
  std::vector<std::uint8_t> outside = bytes;
  for (std::size_t entry = 0; entry < 2; ++entry) outside[6 + entry * 16 + 14] = 0x7F;
  write(path, outside);
  EXPECT_EQ(OpenImage(small, path), nullptr);
  // More entries claimed than the file holds.
  std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 6 + 16);
  write(path, cut);
  EXPECT_EQ(OpenImage(small, path), nullptr);
  // A well-formed icon file padded far beyond any icon's size is not read to look for one.
  write(path, bytes);
  std::filesystem::resize_file(path, std::uintmax_t{65} << 20);
  EXPECT_EQ(OpenImage(small, path), nullptr);
  std::remove(path.c_str());
}

TEST(IconImages, SizeOnlyIconsHoldNoIcon) {
  std::unique_ptr<Image> icon = OpenImage(ImageOwner{}, "~GET.ICO", image_flags::kSizeOnly);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(HandleOf(icon), nullptr);
  EXPECT_EQ(icon->NaturalSize().cx, GetSystemMetrics(SM_CXICON));
  Canvas canvas(40, 40);
  icon->Draw(canvas.Dc(), 0, 0, 40, 40);
  EXPECT_EQ(canvas.Count(platform::testing::kWhite), 1600);
}

}  // namespace
}  // namespace vel::images::testing

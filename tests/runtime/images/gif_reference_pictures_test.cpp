// Every GIF in tests/data/images/gif, written by other encoders, opened by name and advanced
// frame by frame: after each frame the drawn canvas must match giflib's decode stored beside
// it; the files that must be refused give no image.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/png_codec.h"
#include "runtime/images/gif_image.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/runtime/images/image_test_support.h"
#include "tests/support/gif_list.h"

namespace vel::images::testing {
namespace {

using vel::testing::ListedGif;

std::vector<ListedGif> Gifs() { return vel::testing::ReadGifList(PicturePath("gif/gifs.txt")); }

TEST(GifReferencePictures, EveryFrameDecodesLikeGiflib) {
  std::vector<ListedGif> gifs = Gifs();
  ASSERT_GE(gifs.size(), 15u) << "gifs.txt lists the GIF test pictures";
  for (const ListedGif& gif : gifs) {
    SCOPED_TRACE(gif.file);
    std::unique_ptr<Image> opened = OpenImage(ImageOwner{}, PicturePath("gif/" + gif.file));
    if (gif.refused) {
      EXPECT_EQ(opened, nullptr);
      continue;
    }
    ASSERT_NE(opened, nullptr);
    auto& image = static_cast<GifImage&>(*opened);
    EXPECT_STREQ(image.KindTag(), ".gif");
    EXPECT_EQ(image.NaturalSize().cx, gif.width);
    EXPECT_EQ(image.NaturalSize().cy, gif.height);
    EXPECT_EQ(image.FrameCount(), static_cast<std::size_t>(gif.frames));
    for (int frame = 0; frame < gif.frames; ++frame) {
      SCOPED_TRACE(frame);
      ASSERT_TRUE(image.Advance());
      auto reference = platform::ReadPngFile(PicturePath("gif/" + gif.Reference(frame)));
      ASSERT_NE(reference, nullptr);
      for (COLORREF background : {RGB(255, 0, 255), RGB(0, 0, 0)}) {
        EXPECT_EQ(CompareWithReference(*DrawnPixels(image, background), *reference, background), "");
      }
    }
  }
}

TEST(GifReferencePictures, MadeFromBytesTheImageKeepsItsOwnCopy) {
  for (const ListedGif& gif : Gifs()) {
    if (gif.refused) continue;
    SCOPED_TRACE(gif.file);
    std::vector<std::uint8_t> bytes = ReadBytes(PicturePath("gif/" + gif.file));
    std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    EXPECT_STREQ(image->KindTag(), ".gif");
    std::fill(bytes.begin(), bytes.end(), 0);
    auto reference = platform::ReadPngFile(PicturePath("gif/" + gif.Reference(0)));
    EXPECT_EQ(CompareWithReference(*DrawnPixels(*image), *reference), "");
  }
}

}  // namespace
}  // namespace vel::images::testing

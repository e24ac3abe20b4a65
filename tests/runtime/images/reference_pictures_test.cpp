// Every picture in tests/data/images, written by other encoders, opened by name and drawn at
// its natural size, against the reference decode stored beside it; pictures the runtime must
// refuse give no image.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/png_codec.h"
#include "runtime/images/bitmap_image.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/runtime/images/image_test_support.h"
#include "tests/support/picture_list.h"

namespace vel::images::testing {
namespace {

using Picture = vel::testing::ListedPicture;

std::vector<Picture> Pictures() { return vel::testing::ReadPictureList(PicturePath("pictures.txt")); }

bool IsBitmapKind(const std::string& kind) { return kind == ".bmp" || kind == ".pcx" || kind == ".jpg"; }

TEST(ReferencePictures, EveryPictureDecodesLikeTheIndependentDecoder) {
  std::vector<Picture> pictures = Pictures();
  ASSERT_GE(pictures.size(), 25u) << "pictures.txt lists the test pictures";
  for (const Picture& picture : pictures) {
    SCOPED_TRACE(picture.file);
    std::unique_ptr<Image> image = OpenImage(ImageOwner{}, PicturePath(picture.file));
    if (picture.refused) {
      EXPECT_EQ(image, nullptr);
      continue;
    }
    ASSERT_NE(image, nullptr);
    EXPECT_STREQ(image->KindTag(), picture.kind.c_str());
    EXPECT_EQ(image->NaturalSize().cx, picture.width);
    EXPECT_EQ(image->NaturalSize().cy, picture.height);
    if (IsBitmapKind(picture.kind)) {
      EXPECT_EQ(static_cast<BitmapImage&>(*image).BitCount(), picture.bits);
    }
    auto reference = platform::ReadPngFile(PicturePath(picture.reference));
    ASSERT_NE(reference, nullptr);
    for (COLORREF background : {RGB(255, 0, 255), RGB(0, 0, 0)}) {
      auto drawn = DrawnPixels(*image, background);
      EXPECT_EQ(CompareWithReference(*drawn, *reference, background), "");
    }
  }
}

TEST(ReferencePictures, CreatingFromBytesFindsTheKindWithoutAName) {
  for (const Picture& picture : Pictures()) {
    // Icons are opened by name only.
    if (picture.refused || picture.kind == ".ico") continue;
    SCOPED_TRACE(picture.file);
    std::vector<std::uint8_t> bytes = ReadBytes(PicturePath(picture.file));
    std::unique_ptr<Image> image = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    EXPECT_STREQ(image->KindTag(), picture.kind.c_str());
    EXPECT_EQ(image->ByteSize(), bytes.size());
    // The image holds a copy: the caller's bytes may go.
    std::fill(bytes.begin(), bytes.end(), 0);
    auto reference = platform::ReadPngFile(PicturePath(picture.reference));
    EXPECT_EQ(CompareWithReference(*DrawnPixels(*image), *reference), "");
  }
}

}  // namespace
}  // namespace vel::images::testing

// Parsing GIF files into blocks: what each block records, the canvas size, and the files that
// must be refused.

#include <gtest/gtest.h>

#include <vector>

#include "runtime/images/gif_blocks.h"
#include "tests/runtime/images/gif_builder.h"

namespace vel::images::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<GifFile> Parse(const Bytes& bytes) { return ParseGif(bytes.data(), bytes.size()); }

TEST(GifBlocks, EachBlockRecordsItsPlaceAndFields) {
  GifBuilder builder(4, 4, {0xFF0000, 0x00FF00, 0x0000FF});
  builder.Looping(3).Comment("hello").GraphicControl(25, 2);
  GifBuilder::Frame local = SolidFrame(1, 2, 3, 2);
  local.localTable = {0x111111, 0x222222};
  local.interlaced = true;
  builder.Image(local);
  builder.GraphicControl(0).Image(SolidFrame(0, 0, 2, 2));
  Bytes bytes = builder.Finish();
  std::optional<GifFile> file = Parse(bytes);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->globalTableEntries, 4u);
  EXPECT_EQ(file->globalTableOffset, kGifHeaderSize);
  ASSERT_EQ(file->blocks.size(), 6u);
  const GifBlock& looping = file->blocks[0];
  EXPECT_EQ(looping.kind, GifBlockKind::Looping);
  EXPECT_TRUE(looping.loopingPresent);
  EXPECT_EQ(looping.loopCount, 3u);
  EXPECT_EQ(looping.offset, kGifHeaderSize + 12);
  EXPECT_EQ(looping.length, 19u);
  EXPECT_EQ(file->blocks[1].kind, GifBlockKind::OtherExtension);
  EXPECT_EQ(file->blocks[1].length, 2u + 1 + 5 + 1);
  const GifBlock& control = file->blocks[2];
  EXPECT_EQ(control.kind, GifBlockKind::GraphicControl);
  EXPECT_EQ(control.delay, 25u);
  EXPECT_EQ(control.transparentIndex, 2);
  const GifBlock& frame = file->blocks[3];
  EXPECT_EQ(frame.kind, GifBlockKind::ImageDescriptor);
  EXPECT_EQ(frame.left, 1);
  EXPECT_EQ(frame.top, 2);
  EXPECT_EQ(frame.right, 4);
  EXPECT_EQ(frame.bottom, 4);
  EXPECT_TRUE(frame.interlaced);
  EXPECT_EQ(frame.localTableEntries, 2u);
  EXPECT_EQ(frame.localTableOffset, frame.offset + 10);
  EXPECT_EQ(frame.minimumCodeSize, 2);
  EXPECT_EQ(frame.imageDataOffset, frame.offset + 10 + 6 + 1);
  EXPECT_EQ(file->blocks[4].transparentIndex, -1);
  EXPECT_EQ(file->blocks[5].offset + file->blocks[5].length, bytes.size() - 1);
}

TEST(GifBlocks, TheCanvasReachesTheFarthestFrameEdgesWhateverTheLogicalScreenSays) {
  std::optional<GifFile> file = Parse(GifBuilder(8, 8).Image(SolidFrame(10, 5, 20, 20)).Image(SolidFrame(0, 0, 2, 27)).Finish());
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->canvasWidth, 30);
  EXPECT_EQ(file->canvasHeight, 27);
}

TEST(GifBlocks, OnlyALoopingSubBlockStartingWith1GivesALoopCount) {
  // An application block with another identifier is another extension.
  Bytes other{0x21, 0xFF, 11, 'A', 'N', 'I', 'M', 'E', 'X', 'T', 'S', '1', '.', '0', 3, 1, 5, 0, 0};
  // The looping identifier with a sub-block of another kind: no looping.
  Bytes noCount{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 2, 5, 0, 0};
  std::optional<GifFile> file = Parse(GifBuilder(2, 2).Raw(other).Raw(noCount).Image(SolidFrame(0, 0, 2, 2)).Finish());
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->blocks[0].kind, GifBlockKind::OtherExtension);
  EXPECT_EQ(file->blocks[1].kind, GifBlockKind::Looping);
  EXPECT_FALSE(file->blocks[1].loopingPresent);
}

TEST(GifBlocks, AGraphicControlBlockTooShortForItsFieldsHasNoDelayAndNoTransparency) {
  std::optional<GifFile> file =
      Parse(GifBuilder(2, 2).Raw({0x21, 0xF9, 2, 1, 9, 0}).Raw({0x21, 0xF9, 0}).Image(SolidFrame(0, 0, 2, 2)).Finish());
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->blocks[0].delay, 0u);
  EXPECT_EQ(file->blocks[0].transparentIndex, -1);
  EXPECT_EQ(file->blocks[1].length, 3u);
}

TEST(GifBlocks, BrokenFilesAreRefused) {
  Bytes good = GifBuilder(2, 2, {0, 0xFFFFFF}).Image(SolidFrame(0, 0, 2, 2)).Finish();
  ASSERT_TRUE(Parse(good).has_value());
  // Not "GIF", or 13 bytes or fewer.
  Bytes notGif = good;
  notGif[0] = 'J';
  EXPECT_FALSE(Parse(notGif).has_value());
  EXPECT_FALSE(ParseGif(good.data(), kGifHeaderSize).has_value());
  // Every cut short of the trailer.
  for (std::size_t size = kGifHeaderSize + 1; size < good.size(); ++size) {
    EXPECT_FALSE(ParseGif(good.data(), size).has_value()) << size;
  }
  // An unknown block introducer.
  Bytes unknown = GifBuilder(2, 2).Raw({0x2D}).Image(SolidFrame(0, 0, 2, 2)).Finish();
  EXPECT_FALSE(Parse(unknown).has_value());
  // Minimum code sizes outside 2 to 11.
  for (int size : {0, 1, 12, 255}) {
    GifBuilder::Frame frame = SolidFrame(0, 0, 1, 1);
    frame.minimumCodeSize = size;
    EXPECT_FALSE(Parse(GifBuilder(1, 1).ImageWithData(frame, {0x00}).Finish()).has_value()) << size;
  }
  GifBuilder::Frame eleven = SolidFrame(0, 0, 1, 1);
  eleven.minimumCodeSize = 11;
  EXPECT_TRUE(Parse(GifBuilder(1, 1).ImageWithData(eleven, {0x00}).Finish()).has_value());
  // No block at all, or only extensions: no picture.
  EXPECT_FALSE(Parse(GifBuilder(2, 2).Finish()).has_value());
  EXPECT_FALSE(Parse(GifBuilder(2, 2).Comment("x").Finish()).has_value());
  // A frame larger than any picture may be.
  EXPECT_FALSE(Parse(GifBuilder(2, 2).ImageWithData(SolidFrame(60000, 0, 60000, 1), {}).Finish()).has_value());
}

}  // namespace
}  // namespace vel::images::testing

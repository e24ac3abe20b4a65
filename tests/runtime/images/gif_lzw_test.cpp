// The GIF code stream decoder on hand-written codes: clear and end codes, the first code after a
// clear, strings not yet in the table, codes beyond the next free one, code width growth, the
// 4096-code limit, and streams that end early.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "runtime/images/gif_lzw.h"
#include "tests/runtime/images/gif_builder.h"

namespace vel::images::testing {
namespace {

using Indexes = std::vector<std::uint8_t>;

// Packed bytes cut into sub-blocks of `chunk` bytes, with the zero-length terminator.
Indexes InSubBlocks(const Indexes& data, std::size_t chunk = 255) {
  Indexes out;
  for (std::size_t at = 0; at < data.size(); at += chunk) {
    std::size_t length = std::min(chunk, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + length));
  }
  out.push_back(0);
  return out;
}

// The first `count` indexes of the code stream in the sub-blocks at `offset`.
Indexes DecodeStream(const Indexes& stream, std::size_t offset, std::size_t count, int minimumCodeSize,
                     bool* ended = nullptr) {
  GifLzwDecoder decoder(stream.data(), stream.size(), offset, minimumCodeSize);
  Indexes out(count + GifLzwDecoder::kOutputSlack, 0xEE);
  decoder.Decode(out.data(), count);
  if (ended != nullptr) *ended = decoder.Ended();
  out.resize(count);
  return out;
}

struct Code {
  unsigned value;
  unsigned width;
};

Indexes Decode(const std::vector<Code>& codes, std::size_t count, int minimumCodeSize = 2, std::size_t chunk = 255) {
  CodePacker packer;
  for (const Code& code : codes) packer.Put(code.value, code.width);
  Indexes stream = InSubBlocks(packer.Finish(), chunk);
  return DecodeStream(stream, 0, count, minimumCodeSize);
}

// With a minimum code size of 2: clear is 4, end is 5, and codes start 3 bits wide.
constexpr unsigned kClear = 4;
constexpr unsigned kEnd = 5;

TEST(GifLzw, StringsComeFromTheTableAndTheWidthGrowsWhenTheTableFillsItsWidth) {
  // 1, 2 (adds 6 = "1 2"), 6 (adds 7 = "2 1"; 8 codes now: 4-bit codes follow), end.
  EXPECT_EQ(Decode({{kClear, 3}, {1, 3}, {2, 3}, {6, 3}, {kEnd, 4}}, 6), (Indexes{1, 2, 1, 2, 0, 0}));
  // The same codes in one-byte sub-blocks.
  EXPECT_EQ(Decode({{kClear, 3}, {1, 3}, {2, 3}, {6, 3}, {kEnd, 4}}, 6, 2, 1), (Indexes{1, 2, 1, 2, 0, 0}));
  // A clear code starts the table and the width again.
  EXPECT_EQ(Decode({{kClear, 3}, {1, 3}, {2, 3}, {6, 3}, {kClear, 4}, {3, 3}, {3, 3}, {6, 3}, {kEnd, 4}}, 8),
            (Indexes{1, 2, 1, 2, 3, 3, 3, 3}));
}

TEST(GifLzw, TheFirstCodeAfterAClearIsOutputAsItStandsAndCodesAboveItArePassedOver) {
  EXPECT_EQ(Decode({{kClear, 3}, {6, 3}, {7, 3}, {3, 3}, {kEnd, 3}}, 3), (Indexes{3, 0, 0}));
  // A stream may start without a clear code.
  EXPECT_EQ(Decode({{2, 3}, {2, 3}, {kEnd, 3}}, 3), (Indexes{2, 2, 0}));
  // The end code while waiting for the first code ends the frame.
  EXPECT_EQ(Decode({{kClear, 3}, {kEnd, 3}, {1, 3}}, 2), (Indexes{0, 0}));
}

TEST(GifLzw, ACodeNotYetInTheTableRepeatsThePreviousStringsFirstByte) {
  // 1, then 6 before it exists: "1" and its own first byte.
  EXPECT_EQ(Decode({{kClear, 3}, {1, 3}, {6, 3}, {kEnd, 3}}, 4), (Indexes{1, 1, 1, 0}));
  // 1, 2, then 7 (next free): "2" + "2".
  EXPECT_EQ(Decode({{kClear, 3}, {1, 3}, {2, 3}, {7, 3}, {kEnd, 4}}, 5), (Indexes{1, 2, 2, 2, 0}));
}

TEST(GifLzw, ACodeBeyondTheNextFreeOneIsReadAsTheNextFreeButNotBuiltOn) {
  // 1, then 7 while 6 is next: "1 1", entry 6 = "1 1", and 0 takes the previous code's place,
  // so 2 adds entry 7 = "0 2".
  EXPECT_EQ(Decode({{kClear, 3}, {1, 3}, {7, 3}, {2, 3}, {7, 4}, {kEnd, 4}}, 7), (Indexes{1, 1, 1, 2, 0, 2, 0}));
}

TEST(GifLzw, At4096CodesNothingIsAddedAndTheWidthStaysAt12UntilAClear) {
  std::vector<Code> codes{{kClear, 3}};
  unsigned nextFree = kEnd + 1;
  unsigned width = 3;
  std::size_t literals = 5000;
  for (std::size_t i = 0; i < literals; ++i) {
    codes.push_back({1, width});
    if (i == 0 || nextFree >= GifLzwDecoder::kMaxCodes) continue;
    ++nextFree;
    if (nextFree >= (1u << width) && width < 12) ++width;
  }
  ASSERT_EQ(width, 12u);
  // Still 12 bits: entry 4095 exists, then a literal, then a clear back to 3 bits.
  codes.push_back({4095, 12});
  codes.push_back({3, 12});
  codes.push_back({kClear, 12});
  codes.push_back({2, 3});
  codes.push_back({kEnd, 3});
  Indexes out = Decode(codes, literals + 4096);
  std::size_t ones = static_cast<std::size_t>(std::count(out.begin(), out.end(), 1));
  // Every entry is "1 1": each was built on the literal before it.
  EXPECT_EQ(ones, literals + 2);
  std::size_t after = literals + 2;
  ASSERT_LT(after + 2, out.size());
  EXPECT_EQ(out[after], 3);
  EXPECT_EQ(out[after + 1], 2);
  EXPECT_EQ(out[after + 2], 0);
}

TEST(GifLzw, AStreamThatEndsEarlyGivesIndexZeroForEverythingAfter) {
  // No end code: the data runs out after two codes.
  EXPECT_EQ(Decode({{kClear, 3}, {1, 3}, {2, 3}}, 5), (Indexes{1, 2, 0, 0, 0}));
  // A zero-length sub-block ends the stream although bytes follow it.
  CodePacker packer;
  for (unsigned code : {kClear, 3u, 3u, 3u, 3u, 3u}) packer.Put(code, 3);
  Indexes packed = packer.Finish();
  // One sub-block of the first byte (the clear code, a 3 and two bits), the terminator, then
  // the rest.
  Indexes stream{1, packed[0], 0, static_cast<std::uint8_t>(packed.size() - 1)};
  for (std::size_t i = 1; i < packed.size(); ++i) stream.push_back(packed[i]);
  stream.push_back(0);
  bool ended = false;
  EXPECT_EQ(DecodeStream(stream, 0, 6, 2, &ended), (Indexes{3, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(ended);
  // A sub-block that claims more bytes than there are: the codes of the bytes there are (clear
  // and 1), then zeros; and no data at all.
  Indexes cut{200, 0x4C};
  EXPECT_EQ(DecodeStream(cut, 0, 2, 2), (Indexes{1, 0}));
  EXPECT_EQ(DecodeStream(cut, cut.size(), 1, 2, &ended), (Indexes{0}));
  EXPECT_TRUE(ended);
  // A stream that holds exactly the indexes asked for has not ended early.
  EXPECT_EQ(DecodeStream(InSubBlocks(PlainCodes({1, 2, 3}, 2)), 0, 3, 2, &ended), (Indexes{1, 2, 3}));
  EXPECT_FALSE(ended);
}

TEST(GifLzw, PlainCodesOfEveryMinimumCodeSizeDecodeToTheirIndexes) {
  for (int size = 2; size <= 11; ++size) {
    SCOPED_TRACE(size);
    Indexes indexes;
    for (int i = 0; i < 3000; ++i) indexes.push_back(static_cast<std::uint8_t>((i * 7) % std::min(256, 1 << size)));
    Indexes out = DecodeStream(InSubBlocks(PlainCodes(indexes, size)), 0, indexes.size() + 1, size);
    EXPECT_TRUE(std::equal(indexes.begin(), indexes.end(), out.begin()));
    EXPECT_EQ(out.back(), 0);
  }
}

}  // namespace
}  // namespace vel::images::testing

// Reading PCX picture data a line at a time: random streams of codes against a plain decoding of
// the same stream, for lines shorter than a run, lines that runs cross, and data that ends inside
// a line or a run.

#include "runtime/images/pcx_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vel::images {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The stream a PCX file's coded data stands for, one code at a time, as long as `length`:
// zeros where the data ends, and a run whose value is missing repeats 0.
Bytes PlainDecoding(const Bytes& coded, std::size_t length) {
  Bytes plain;
  std::size_t at = 0;
  while (plain.size() < length) {
    if (at == coded.size()) {
      plain.push_back(0);
      continue;
    }
    std::uint8_t first = coded[at++];
    if (first < 0xC0) {
      plain.push_back(first);
      continue;
    }
    std::uint8_t value = at < coded.size() ? coded[at++] : 0;
    plain.insert(plain.end(), first & 0x3Fu, value);
  }
  plain.resize(length);
  return plain;
}

// Codes as a photograph's lines have them (mostly short runs and single bytes), with now and then
// the longest run, an empty run and values that look like marks.
Bytes RandomCodes(std::mt19937& random, std::size_t codes) {
  Bytes coded;
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> shortRun(1, 5);
  for (std::size_t i = 0; i < codes; ++i) {
    switch (kind(random)) {
      case 0:
        coded.push_back(0xC0 | 63);
        coded.push_back(static_cast<std::uint8_t>(byte(random)));
        break;
      case 1:
        coded.push_back(0xC0);
        coded.push_back(static_cast<std::uint8_t>(byte(random)));
        break;
      case 2:
      case 3:
      case 4:
        coded.push_back(static_cast<std::uint8_t>(0xC0 | shortRun(random)));
        coded.push_back(static_cast<std::uint8_t>(byte(random)));
        break;
      default: coded.push_back(static_cast<std::uint8_t>(byte(random) % 0xC0));
    }
  }
  return coded;
}

void ExpectLinesOf(const Bytes& coded, std::size_t lineBytes, std::size_t lines) {
  Bytes plain = PlainDecoding(coded, lineBytes * lines);
  PcxLineDecoder decoder(coded.data(), coded.size(), true, lineBytes);
  for (std::size_t y = 0; y < lines; ++y) {
    const std::uint8_t* line = decoder.NextLine();
    Bytes got(line, line + lineBytes);
    Bytes expected(plain.begin() + static_cast<std::ptrdiff_t>(y * lineBytes),
                   plain.begin() + static_cast<std::ptrdiff_t>((y + 1) * lineBytes));
    ASSERT_EQ(got, expected) << "line " << y << " of " << lineBytes << " bytes";
  }
}

TEST(PcxLines, CodedLinesMatchAPlainDecodingWhateverTheLineLength) {
  std::mt19937 random(18);
  // One byte, shorter than the longest run, so one run fills many lines; an odd length; lengths
  // around a step of the fast path; a photograph's line.
  for (std::size_t lineBytes : {1, 2, 3, 15, 16, 17, 63, 64, 65, 511, 1166}) {
    Bytes coded = RandomCodes(random, 4000);
    std::size_t lines = PlainDecoding(coded, 1 << 20).size() / lineBytes;
    lines = std::min<std::size_t>(lines, 5000);
    ExpectLinesOf(coded, lineBytes, lines);
  }
}

TEST(PcxLines, DataThatEndsInsideALineOrARunLeavesZeros) {
  std::mt19937 random(6);
  Bytes coded = RandomCodes(random, 600);
  // Cut at every length near the end of the data and in the middle, so the last code is cut in
  // the fast path's steps and in the careful one, and some cuts fall between a run's mark and
  // its value.
  for (std::size_t cut = 0; cut < 40; ++cut) {
    Bytes shorter(coded.begin(), coded.end() - static_cast<std::ptrdiff_t>(cut));
    ExpectLinesOf(shorter, 37, 200);
    Bytes half(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(coded.size() / 2 + cut));
    ExpectLinesOf(half, 37, 200);
  }
  Bytes markOnly{0xC0 | 5};
  ExpectLinesOf(markOnly, 4, 3);
  ExpectLinesOf(Bytes{}, 4, 2);
}

TEST(PcxLines, PlainLinesAreReadAsTheyStandAndEndInZeros) {
  Bytes plain{1, 0xC5, 3, 4, 5, 6, 7};
  PcxLineDecoder decoder(plain.data(), plain.size(), false, 3);
  const std::uint8_t* first = decoder.NextLine();
  EXPECT_EQ(Bytes(first, first + 3), (Bytes{1, 0xC5, 3})) << "a byte with both top bits set is a pixel";
  const std::uint8_t* second = decoder.NextLine();
  EXPECT_EQ(Bytes(second, second + 3), (Bytes{4, 5, 6}));
  const std::uint8_t* third = decoder.NextLine();
  EXPECT_EQ(Bytes(third, third + 3), (Bytes{7, 0, 0}));
  const std::uint8_t* fourth = decoder.NextLine();
  EXPECT_EQ(Bytes(fourth, fourth + 3), (Bytes{0, 0, 0}));
}

}  // namespace
}  // namespace vel::images

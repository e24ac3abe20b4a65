// Decoding RLE8 bitmap rows: random streams of codes against a plain decoding of the same
// stream, with runs and literals that end exactly at the edge or cross it, long and short codes
// mixed, moves, end-of-line and end-of-picture escapes anywhere in a line, and data cut short.

#include "runtime/images/bmp_rle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace vel::images {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bottom-up 8-bit rows the stream stands for, one code at a time: runs and literals are cut at
// the right edge, moves past the top end the picture, and whatever no pixel reaches is 0.
Bytes PlainDecoding(const Bytes& coded, int width, int height, std::size_t stride) {
  Bytes rows(stride * static_cast<std::size_t>(height), 0);
  int x = 0;
  int y = 0;
  auto put = [&](std::uint8_t value) {
    if (x < width) rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] = value;
    x = std::min(x + 1, width);
  };
  std::size_t at = 0;
  while (at + 2 <= coded.size() && y < height) {
    std::uint8_t count = coded[at];
    std::uint8_t value = coded[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 2 > coded.size()) break;
      x = std::min(x + coded[at], width);
      y += coded[at + 1];
      at += 2;
    } else {
      for (int i = 0; i < value && at < coded.size(); ++i) put(coded[at++]);
      if (value % 2 != 0 && at < coded.size()) ++at;
    }
  }
  return rows;
}

// Codes as a reduced photograph has them (mostly runs and literals of a few pixels), with long
// ones, codes that end exactly at the right edge or run past it, and every escape.
Bytes RandomCodes(std::mt19937& random, int width, std::size_t codes) {
  Bytes coded;
  std::uniform_int_distribution<int> kind(0, 19);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> shortLength(3, 16);
  std::uniform_int_distribution<int> longLength(17, 255);
  std::uniform_int_distribution<int> smallMove(0, 3);
  int x = 0;
  auto literal = [&](int length) {
    coded.push_back(0);
    coded.push_back(static_cast<std::uint8_t>(length));
    for (int i = 0; i < length; ++i) coded.push_back(static_cast<std::uint8_t>(byte(random)));
    if (length % 2 != 0) coded.push_back(static_cast<std::uint8_t>(byte(random)));
    x += length;
  };
  auto run = [&](int length) {
    coded.push_back(static_cast<std::uint8_t>(length));
    coded.push_back(static_cast<std::uint8_t>(byte(random)));
    x += length;
  };
  for (std::size_t i = 0; i < codes; ++i) {
    int toEdge = width - x;
    switch (kind(random)) {
      case 0: run(longLength(random)); break;
      case 1: literal(longLength(random)); break;
      case 2:
        // Exactly to the right edge.
        if (toEdge >= 3 && toEdge <= 255) {
          literal(toEdge);
        } else if (toEdge >= 1 && toEdge <= 255) {
          run(toEdge);
        }
        break;
      case 3:
        if (toEdge >= 1 && toEdge <= 254) run(toEdge + 1);
        break;
      case 4:
        coded.insert(coded.end(), {0, 0});
        x = 0;
        break;
      case 5:
        coded.insert(coded.end(), {0, 2, static_cast<std::uint8_t>(smallMove(random)),
                                   static_cast<std::uint8_t>(smallMove(random) / 2)});
        x += coded[coded.size() - 2];
        break;
      case 6:
        if (i + 20 > codes) coded.insert(coded.end(), {0, 1});
        break;
      default:
        if (kind(random) < 10) {
          run(1 + shortLength(random) - 3);
        } else {
          literal(shortLength(random));
        }
        break;
    }
    x = std::min(x, width);
  }
  return coded;
}

TEST(BmpRle8, RandomStreamsDecodeAsTheirCodesSayAtEveryWidth) {
  std::mt19937 random(18);
  const int widths[] = {1, 2, 3, 15, 16, 17, 31, 32, 33, 100, 255, 256, 1165};
  for (int width : widths) {
    for (int trial = 0; trial < 6; ++trial) {
      int height = 1 + trial % 4;
      std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
      Bytes coded = RandomCodes(random, width, static_cast<std::size_t>(20 + width / 4) * static_cast<std::size_t>(height));
      // The whole stream, then the same stream cut at places inside codes.
      std::vector<std::size_t> lengths = {coded.size()};
      std::uniform_int_distribution<std::size_t> cut(0, coded.size());
      for (int i = 0; i < 6; ++i) lengths.push_back(cut(random));
      for (std::size_t length : lengths) {
        Bytes part(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(length));
        // Every byte of the rows is written, whatever was there.
        Bytes rows(stride * static_cast<std::size_t>(height), 0xCD);
        DecodeBmpRle(part.data(), part.size(), false, width, height, stride, rows.data());
        ASSERT_EQ(rows, PlainDecoding(part, width, height, stride))
            << "width " << width << ", height " << height << ", " << length << " of " << coded.size() << " bytes";
      }
    }
  }
}

TEST(BmpRle8, CodesFillingALineExactlyOrEndingThePictureInsideOne) {
  const int width = 20;
  const std::size_t stride = 20;
  // A run of 4, a literal of 16 that ends exactly at the edge; then on the next line a run to
  // the edge with no end-of-line escape, which the following run must not continue.
  Bytes coded = {4, 9, 0, 16};
  for (std::uint8_t i = 1; i <= 16; ++i) coded.push_back(i);
  coded.insert(coded.end(), {0, 0, 20, 7, 3, 8, 0, 0, 0, 2, 5, 0, 0, 1, 9, 9});
  coded.insert(coded.end(), 32, 0xEE);  // Bytes after the end of the picture are not read.
  Bytes rows(stride * 4, 0xCD);
  DecodeBmpRle(coded.data(), coded.size(), false, width, 4, stride, rows.data());
  EXPECT_EQ(rows, PlainDecoding(coded, width, 4, stride));
  EXPECT_EQ(rows[19], 16) << "the literal reaches the last pixel";
  EXPECT_EQ(rows[20 + 19], 7);
  EXPECT_EQ(std::count(rows.begin() + 40, rows.end(), 0), 40) << "the run past the edge is cut";
  EXPECT_EQ(std::count(rows.begin() + 20, rows.begin() + 40, 7), 20);
}

}  // namespace
}  // namespace vel::images

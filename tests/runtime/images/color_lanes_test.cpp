// The reduction's loops over every colour, sixteen at a time and one at a time, against what
// they stand for: counts around the vector width, every channel, limits at both ends, greys and
// near-greys, sums past the running lanes' capacity, pixels at the end of their bytes, and bit
// words from empty to full.

#include "runtime/images/color_lanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace vel::images {
namespace {

using Colors = std::vector<std::uint32_t>;

Colors Sorted(Colors colors) {
  std::sort(colors.begin(), colors.end());
  return colors;
}

TEST(ColorLanes, DividingByAChannelPutsTheColoursAtMostTheLimitFirst) {
  std::mt19937 random(6);
  std::uniform_int_distribution<std::uint32_t> color(0, 0xFFFFFF);
  const std::uint32_t counts[] = {1, 2, 15, 16, 17, 31, 32, 33, 100, 1000};
  for (ColorLanes lanes : {ColorLanes::kWide, ColorLanes::kOne}) {
    for (std::uint32_t count : counts) {
      for (unsigned shift : {16u, 8u, 0u}) {
        for (std::uint32_t limit : {0u, 1u, 127u, 254u, 255u}) {
          SCOPED_TRACE(::testing::Message() << count << " colours, shift " << shift << ", limit " << limit
                                            << (lanes == ColorLanes::kWide ? ", wide" : ", one"));
          Colors from(count);
          for (std::uint32_t& c : from) c = color(random);
          if (count > 2) from[1] = static_cast<std::uint32_t>(limit) << shift;  // Exactly at the limit.
          // Room on both sides, to see that nothing outside the colours' place is written.
          Colors to(count + 32, 0xAB000000u);
          std::uint32_t firsts = DivideByChannel(from.data(), to.data() + 16, count, shift, limit, lanes);
          Colors expectedFirst;
          Colors expectedOthers;
          for (std::uint32_t c : from) (((c >> shift) & 0xFF) <= limit ? expectedFirst : expectedOthers).push_back(c);
          ASSERT_EQ(firsts, expectedFirst.size());
          EXPECT_EQ(Sorted(Colors(to.begin() + 16, to.begin() + 16 + firsts)), Sorted(expectedFirst));
          EXPECT_EQ(Sorted(Colors(to.begin() + 16 + firsts, to.begin() + 16 + count)), Sorted(expectedOthers));
          EXPECT_EQ(std::count(to.begin(), to.begin() + 16, 0xAB000000u), 16);
          EXPECT_EQ(std::count(to.end() - 16, to.end(), 0xAB000000u), 16);
        }
      }
    }
  }
}

TEST(ColorLanes, GreysGoFirstOnlyWhenAllThreeChannelsAgree) {
  std::mt19937 random(5);
  for (ColorLanes lanes : {ColorLanes::kWide, ColorLanes::kOne}) {
    for (std::uint32_t count : {1u, 15u, 16u, 17u, 50u, 333u}) {
      Colors from(count);
      for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t v = random() & 0xFF;
        // Greys, and colours one channel away from grey in each place.
        switch (i % 5) {
          case 0: from[i] = v * 0x010101u; break;
          case 1: from[i] = v * 0x010101u ^ 0x010000u; break;
          case 2: from[i] = v * 0x010101u ^ 0x000100u; break;
          case 3: from[i] = v * 0x010101u ^ 0x000001u; break;
          default: from[i] = random() & 0xFFFFFF; break;
        }
      }
      Colors to(count);
      std::uint32_t greys = DivideGreysFirst(from.data(), to.data(), count, lanes);
      Colors expected;
      for (std::uint32_t c : from) {
        if ((c >> 16) == ((c >> 8) & 0xFF) && (c & 0xFF) == ((c >> 8) & 0xFF)) expected.push_back(c);
      }
      ASSERT_EQ(greys, expected.size()) << count;
      EXPECT_EQ(Sorted(Colors(to.begin(), to.begin() + greys)), Sorted(expected)) << count;
      EXPECT_EQ(Sorted(to), Sorted(from)) << count;
    }
  }
}

TEST(ColorLanes, ChannelSumsAndSquaresAreExactUpToMillionsOfColours) {
  std::mt19937 random(4);
  // Around the vector width, and past the point where the running lanes are emptied, with the
  // largest channel values.
  for (std::uint32_t count : {0u, 1u, 15u, 16u, 17u, 1000u, 16u * 65536u + 21u}) {
    Colors colors(count);
    for (std::uint32_t& c : colors) c = count > 100000 ? 0xFFFFFF - (random() & 0x010101) : random() & 0xFFFFFF;
    std::uint64_t expectedSum[3] = {0, 0, 0};
    std::uint64_t expectedSquares[3] = {0, 0, 0};
    for (std::uint32_t c : colors) {
      for (int k = 0; k < 3; ++k) {
        std::uint64_t v = (c >> (16 - 8 * k)) & 0xFF;
        expectedSum[k] += v;
        expectedSquares[k] += v * v;
      }
    }
    for (ColorLanes lanes : {ColorLanes::kWide, ColorLanes::kOne}) {
      std::uint64_t sum[3];
      std::uint64_t squares[3];
      AddUpChannels(colors.data(), count, sum, squares, lanes);
      for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(sum[k], expectedSum[k]) << count << " colours, channel " << k;
        EXPECT_EQ(squares[k], expectedSquares[k]) << count << " colours, channel " << k;
      }
    }
  }
}

TEST(ColorLanes, PixelsOfThreeAndFourBytesBecomeColoursWithoutReadingPastTheLast) {
  std::mt19937 random(3);
  for (std::size_t bytesPerPixel : {std::size_t{3}, std::size_t{4}}) {
    for (std::size_t count : {1u, 15u, 16u, 17u, 21u, 22u, 64u, 100u}) {
      // Exactly the pixels' bytes, so that reading past them is caught.
      std::vector<std::uint8_t> pixels(count * bytesPerPixel);
      for (std::uint8_t& b : pixels) b = static_cast<std::uint8_t>(random());
      Colors expected(count);
      for (std::size_t x = 0; x < count; ++x) {
        const std::uint8_t* p = pixels.data() + x * bytesPerPixel;
        expected[x] = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
      }
      for (ColorLanes lanes : {ColorLanes::kWide, ColorLanes::kOne}) {
        Colors colors(count);
        PixelColors(pixels.data(), count, bytesPerPixel, colors.data(), lanes);
        EXPECT_EQ(colors, expected) << count << " pixels of " << bytesPerPixel << " bytes";
      }
    }
  }
}

TEST(ColorLanes, ListingBitWordsGivesTheirColoursInOrder) {
  std::mt19937 random(7);
  std::vector<DistinctColorWord> words(300);
  // Empty and full words, and words with just over 16, 32 and 48 bits, between random ones.
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::uint64_t bits = (static_cast<std::uint64_t>(random()) << 32) | random();
    switch (i % 7) {
      case 0: bits = 0; break;
      case 1: bits = ~std::uint64_t{0}; break;
      case 2: bits = (std::uint64_t{1} << 17) - 1; break;
      case 3: bits = ((std::uint64_t{1} << 33) - 1) << 31; break;
      case 4: bits = ~std::uint64_t{0} >> 15; break;
      case 5: bits &= bits >> 1; break;
      default: break;
    }
    words[i].bits[0] = static_cast<std::uint32_t>(bits);
    words[i].bits[1] = static_cast<std::uint32_t>(bits >> 32);
  }
  Colors expected;
  for (std::size_t i = 0; i < words.size(); ++i) {
    for (std::uint32_t b = 0; b < 64; ++b) {
      if ((words[i].Bits() >> b) & 1) expected.push_back(static_cast<std::uint32_t>(i * 64 + b));
    }
  }
  for (ColorLanes lanes : {ColorLanes::kWide, ColorLanes::kOne}) {
    for (std::size_t count : {std::size_t{1}, std::size_t{2}, std::size_t{7}, words.size()}) {
      std::size_t present = 0;
      while (present < expected.size() && expected[present] < count * 64) ++present;
      Colors out(present + kListSlack);
      ASSERT_EQ(ListColors(words.data(), count, out.data(), lanes), present);
      out.resize(present);
      EXPECT_EQ(out, Colors(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(present)))
          << count << (lanes == ColorLanes::kWide ? " words, wide" : " words, one");
    }
  }
}

}  // namespace
}  // namespace vel::images

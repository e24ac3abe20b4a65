// The 256-colour reduction: the median cut step by step on small sets of colours, the limit of
// 256 colours, and the quality it keeps on two photographs.

#include "runtime/images/color_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/median_cut.h"
#include "runtime/images/standard_image_kinds.h"
#include "tests/runtime/images/image_test_support.h"

namespace vel::images::testing {
namespace {

// A 24-bit BMP file of one row holding `colors` (0xRRGGBB).
std::vector<std::uint8_t> Row(const std::vector<std::uint32_t>& colors) {
  std::vector<std::uint8_t> rows;
  for (std::uint32_t c : colors) {
    rows.push_back(static_cast<std::uint8_t>(c));
    rows.push_back(static_cast<std::uint8_t>(c >> 8));
    rows.push_back(static_cast<std::uint8_t>(c >> 16));
  }
  while (rows.size() % 4 != 0) rows.push_back(0);
  return BmpFile(static_cast<int>(colors.size()), 1, 24, BI_RGB, {}, rows);
}

std::unique_ptr<BitmapImage> Reduced(const std::vector<std::uint8_t>& bmp) {
  std::optional<ImageStorage> reduced = ReduceTo256Colors(bmp.data(), bmp.size());
  if (!reduced) return nullptr;
  return BitmapImage::FromStorage(std::move(*reduced), 0, ".bmp");
}

TEST(MedianCut, TheBoxThatVariesMostIsSplitAtItsMean) {
  // All blue: the root splits along blue at (1 + 2 + 200 + 201) / 4 = 101; both halves then
  // score alike, and the first made is split first.
  MedianCut cut({0x000001, 0x000002, 0x0000C8, 0x0000C9});
  cut.Run(3);
  EXPECT_EQ(cut.ColorTable(), (std::vector<std::uint32_t>{0x000001, 0x000002, 0x0000C8}));
  EXPECT_EQ(cut.IndexOf(0x0000C9), 2);
  EXPECT_EQ(cut.IndexOf(0x000096), 2) << "150 is above 101";
  EXPECT_EQ(cut.IndexOf(0x000000), 0) << "0 is at most 1, the mean of {1, 2}";
}

TEST(MedianCut, GreysAreSplitFromTheOtherColoursFirst) {
  MedianCut cut({0x000000, 0x0000FF, 0xFF0000, 0xFFFFFF});
  cut.Run(2);
  // Greys {black, white} and others {blue, red}, each averaged.
  EXPECT_EQ(cut.ColorTable(), (std::vector<std::uint32_t>{0x7F7F7F, 0x7F007F}));
  EXPECT_EQ(cut.IndexOf(0x101010), 0) << "any grey goes to the greys";
  EXPECT_EQ(cut.IndexOf(0x101011), 1);
  cut.Run(256);
  EXPECT_EQ(cut.ColorTable(), (std::vector<std::uint32_t>{0x000000, 0xFFFFFF, 0x0000FF, 0xFF0000}));
  EXPECT_EQ(cut.IndexOf(0xFF0000), 3);
}

TEST(MedianCut, RedWinsTiesAndAChannelMustScoreStrictlyHigherToBeChosen) {
  // Red and green vary alike: red is split. Means 127 for both.
  MedianCut cut({0x000000 + 1, 0xFFFF01});
  cut.Run(2);
  EXPECT_EQ(cut.IndexOf(0x80000F), 1) << "red 128 is above the red mean";
  EXPECT_EQ(cut.IndexOf(0x00FF0F), 0) << "green is not looked at";
}

TEST(MedianCut, EachColourIsInTheBoxTheTreeSendsItTo) {
  // Both ways of keeping the colours: the bits of a large picture and the list of a small one
  // give the same colours, ranks and boxes.
  for (std::size_t pixels : {DistinctColors::kDenseFrom, std::size_t{6000}}) {
    DistinctColors distinct(pixels);
    std::set<std::uint32_t> added;
    auto add = [&](std::uint32_t color) {
      distinct.Add(color);
      added.insert(color);
    };
    for (std::uint32_t i = 0; i < 5000; ++i) add((i * 2654435761u) & 0xFFFFFF);
    for (std::uint32_t grey = 0; grey < 256; grey += 3) add(grey * 0x010101u);
    add(0x123456);
    add(0x123456);
    distinct.Finish();
    std::vector<std::uint32_t> colors = distinct.Sorted();
    ASSERT_EQ(colors.size(), distinct.Count());
    ASSERT_EQ(colors, std::vector<std::uint32_t>(added.begin(), added.end())) << pixels;
    MedianCut cut(colors);
    cut.Run(256);
    EXPECT_EQ(cut.ColorTable().size(), 256u);
    std::vector<std::uint8_t> byRank = cut.IndexByRank(distinct);
    for (std::size_t i = 0; i < colors.size(); ++i) {
      ASSERT_EQ(distinct.Rank(colors[i]), i);
      ASSERT_EQ(byRank[i], cut.IndexOf(colors[i])) << std::hex << colors[i];
    }
  }
}

TEST(MedianCut, ASplitMayLeaveOneColourOnASideWhichThenWaitsLast) {
  // Forty blues of 200 told apart by green, and black: blue varies most, its mean 8000 / 41 =
  // 195 leaves black alone, and the forty (more than one vector's worth) are split next.
  std::vector<std::uint32_t> colors = {0x000000};
  for (std::uint32_t green = 0; green < 40; ++green) colors.push_back((green << 8) | 200);
  std::reverse(colors.begin(), colors.end());
  MedianCut cut(colors);
  cut.Run(3);
  EXPECT_EQ(cut.ColorTable(), (std::vector<std::uint32_t>{0x000000, 0x0009C8, 0x001DC8}));
  DistinctColors distinct(colors.size());
  for (std::uint32_t color : colors) distinct.Add(color);
  distinct.Finish();
  std::vector<std::uint8_t> byRank = cut.IndexByRank(distinct);
  for (std::uint32_t color : colors) EXPECT_EQ(byRank[distinct.Rank(color)], cut.IndexOf(color)) << std::hex << color;
  EXPECT_EQ(cut.IndexOf(0x0013C8), 1) << "green 19 is at most the mean 19";
  EXPECT_EQ(cut.IndexOf(0x0014C8), 2);
}

TEST(MedianCut, TheOrderOfTheColoursDoesNotChangeTheCut) {
  MedianCut sorted({0x000001, 0x000002, 0x0000C8, 0x0000C9, 0x102030, 0x405060});
  MedianCut shuffled({0x405060, 0x0000C9, 0x000001, 0x102030, 0x0000C8, 0x000002});
  sorted.Run(4);
  shuffled.Run(4);
  EXPECT_EQ(sorted.ColorTable(), shuffled.ColorTable());
  // Repeated colours leave a box that the mean cannot divide: it is divided by position, in
  // ascending order, however the colours came.
  MedianCut repeated({0x000009, 0x000003, 0x000003, 0x000009});
  repeated.Run(3);
  EXPECT_EQ(repeated.ColorTable(), (std::vector<std::uint32_t>{0x000003, 0x000003, 0x000009}));
}

TEST(ColorReduction, SmallPicturesKeepEveryColourExactly) {
  std::vector<std::uint32_t> colors = {0xFF0000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x00FF00};
  std::unique_ptr<BitmapImage> image = Reduced(Row(colors));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->BitCount(), 8);
  EXPECT_EQ(image->Layout().tableEntries, 4u);
  auto drawn = DrawnPixels(*image);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(Rgb(*drawn, x, 0), colors[static_cast<std::size_t>(x)]) << x;
}

TEST(ColorReduction, APictureOfOneColourKeepsItInATableOfOne) {
  // Large enough for the bit table; a grey and a colour, which are the same case for one colour.
  for (std::uint32_t color : {0x123456u, 0x808080u}) {
    std::vector<std::uint8_t> rows;
    for (int i = 0; i < 200 * 200; ++i) {
      rows.push_back(static_cast<std::uint8_t>(color));
      rows.push_back(static_cast<std::uint8_t>(color >> 8));
      rows.push_back(static_cast<std::uint8_t>(color >> 16));
    }
    std::unique_ptr<BitmapImage> image = Reduced(BmpFile(200, 200, 24, BI_RGB, {}, rows));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Layout().tableEntries, 1u);
    auto drawn = DrawnPixels(*image);
    EXPECT_EQ(Rgb(*drawn, 0, 0), color);
    EXPECT_EQ(Rgb(*drawn, 199, 199), color);
  }
}

TEST(ColorReduction, ManyColoursBecomeAtMost256) {
  std::vector<std::uint32_t> colors;
  for (std::uint32_t i = 0; i < 3000; ++i) colors.push_back((i * 2654435761u) & 0xFFFFFF);
  std::unique_ptr<BitmapImage> image = Reduced(Row(colors));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Layout().tableEntries, 256u);
  auto drawn = DrawnPixels(*image);
  std::set<std::uint32_t> used;
  for (int x = 0; x < drawn->Width(); ++x) used.insert(Rgb(*drawn, x, 0));
  EXPECT_LE(used.size(), 256u);
}

TEST(ColorReduction, TwoHundredAndFiftySixColoursAreKeptAndOneMoreIsNot) {
  // On a picture large enough for the bit table, too.
  for (int rows : {1, 200}) {
    std::vector<std::uint32_t> colors;
    for (std::uint32_t i = 0; i < 257; ++i) colors.push_back((i * 2654435761u) & 0xFFFFFF);
    for (std::size_t count : {256u, 257u}) {
      SCOPED_TRACE(::testing::Message() << count << " colours, " << rows << " rows");
      std::vector<std::uint32_t> row(colors.begin(), colors.begin() + static_cast<std::ptrdiff_t>(count));
      std::vector<std::uint8_t> bytes;
      for (int y = 0; y < rows; ++y) {
        for (std::uint32_t c : row) {
          bytes.push_back(static_cast<std::uint8_t>(c));
          bytes.push_back(static_cast<std::uint8_t>(c >> 8));
          bytes.push_back(static_cast<std::uint8_t>(c >> 16));
        }
        while (bytes.size() % 4 != 0) bytes.push_back(0);
      }
      std::unique_ptr<BitmapImage> image =
          Reduced(BmpFile(static_cast<int>(count), rows, 24, BI_RGB, {}, bytes));
      ASSERT_NE(image, nullptr);
      EXPECT_EQ(image->Layout().tableEntries, 256u);
      auto drawn = DrawnPixels(*image);
      int exact = 0;
      for (int x = 0; x < drawn->Width(); ++x)
        exact += Rgb(*drawn, x, rows - 1) == row[static_cast<std::size_t>(x)] ? 1 : 0;
      EXPECT_EQ(exact, count == 256 ? 256 : 255) << "only the two colours that share a box change";
    }
  }
}

// A 24-bit BMP file of `width` x `height` pixels of smoothly changing colours, like a photograph's.
std::vector<std::uint8_t> Gradient(int width, int height, std::uint32_t seed) {
  std::vector<std::uint8_t> rows;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rows.push_back(static_cast<std::uint8_t>(x * 3 + seed));
      rows.push_back(static_cast<std::uint8_t>(y * 5 + x));
      rows.push_back(static_cast<std::uint8_t>((x * y) / 7 + seed * 13));
    }
    while (rows.size() % 4 != 0) rows.push_back(0);
  }
  return BmpFile(width, height, 24, BI_RGB, {}, rows);
}

TEST(ColorReduction, AReductionGivesTheSameWhateverWasReducedBefore) {
  // Each thread keeps the reduction's working memory for the next one; pictures of both sizes
  // of the colour table, in turn.
  std::vector<std::uint8_t> large = Gradient(250, 190, 1);
  std::vector<std::uint8_t> other = Gradient(301, 150, 2);
  std::vector<std::uint8_t> plasma = ReadBytes(PicturePath("plasma.bmp"));
  auto reduce = [](const std::vector<std::uint8_t>& bmp) {
    std::optional<ImageStorage> reduced = ReduceTo256Colors(bmp.data(), bmp.size());
    return reduced ? std::vector<std::uint8_t>(reduced->Data(), reduced->Data() + reduced->Size())
                   : std::vector<std::uint8_t>{};
  };
  std::vector<std::uint8_t> first = reduce(large);
  std::vector<std::uint8_t> small = reduce(plasma);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(small.empty());
  ASSERT_FALSE(reduce(other).empty());
  EXPECT_EQ(reduce(large), first);
  EXPECT_EQ(reduce(plasma), small);
  EXPECT_EQ(reduce(large), first);
}

// FNV-1a of a reduced picture's bytes, or 0 when nothing was made.
std::uint64_t ReducedFingerprint(const std::vector<std::uint8_t>& bmp) {
  std::optional<ImageStorage> reduced = ReduceTo256Colors(bmp.data(), bmp.size());
  if (!reduced) return 0;
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < reduced->Size(); ++i) hash = (hash ^ reduced->Data()[i]) * 0x100000001B3ull;
  return hash;
}

TEST(ColorReduction, TheTableAndPixelsStayExactlyAsTheStepsMadeThem) {
  // Pinned: the bytes the straightforward reduction made, which every faster way of making
  // them must match, on the small list of colours and on the bit table, with greys and without.
  std::vector<std::uint8_t> greyTop = Gradient(240, 200, 3);
  for (std::size_t at = 54; at < 54 + 240 * 3 * 40; at += 3) {
    greyTop[at + 1] = greyTop[at];
    greyTop[at + 2] = greyTop[at];
  }
  EXPECT_EQ(ReducedFingerprint(ReadBytes(PicturePath("plasma.bmp"))), 0x29DC248F852ABF89ull);
  EXPECT_EQ(ReducedFingerprint(ReadBytes(PicturePath("rose.bmp"))), 0xF2B3030C6EA00131ull);
  EXPECT_EQ(ReducedFingerprint(Gradient(250, 190, 1)), 0x190E2B6F27E001E7ull);
  EXPECT_EQ(ReducedFingerprint(greyTop), 0x10CFAF1B9D251A4Bull);
}

TEST(ColorReduction, OnlyTrueColourPicturesAreReduced) {
  std::vector<std::uint8_t> eight = ReadBytes(PicturePath("bmp8.bmp"));
  EXPECT_EQ(ReduceTo256Colors(eight.data(), eight.size()), std::nullopt);
  std::vector<std::uint8_t> coded = ReadBytes(PicturePath("rle8.bmp"));
  EXPECT_EQ(ReduceTo256Colors(coded.data(), coded.size()), std::nullopt);
  std::vector<std::uint8_t> wide = ReadBytes(PicturePath("bmp32.bmp"));
  EXPECT_NE(ReduceTo256Colors(wide.data(), wide.size()), std::nullopt)
      << "32 bits per pixel are true colour too";
}

double Psnr(const platform::Surface& a, const platform::Surface& b) {
  double squares = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      for (int shift : {0, 8, 16}) {
        double d = static_cast<double>((a.Pixel(x, y) >> shift) & 0xFF) -
                   static_cast<double>((b.Pixel(x, y) >> shift) & 0xFF);
        squares += d * d;
      }
    }
  }
  double mean = squares / (3.0 * a.Width() * a.Height());
  return 10.0 * std::log10(255.0 * 255.0 / mean);
}

TEST(ColorReduction, PhotographsKeepTheirQuality) {
  for (const char* name : {"rose.bmp", "plasma.bmp"}) {
    SCOPED_TRACE(name);
    std::vector<std::uint8_t> bytes = ReadBytes(PicturePath(name));
    std::unique_ptr<Image> original = CreateImageFromData(ImageOwner{}, bytes.data(), bytes.size());
    std::unique_ptr<BitmapImage> reduced = Reduced(bytes);
    ASSERT_NE(original, nullptr);
    ASSERT_NE(reduced, nullptr);
    EXPECT_LE(reduced->Layout().tableEntries, 256u);
    double psnr = Psnr(*DrawnPixels(*original), *DrawnPixels(*reduced));
    RecordProperty(std::string("psnr_") + name, std::to_string(psnr));
    EXPECT_GT(psnr, 30.0);
  }
}

}  // namespace
}  // namespace vel::images::testing

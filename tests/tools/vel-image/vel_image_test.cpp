// Runs the vel-image program as a user would: every test picture converted through the
// runtime's image objects gives the independent decoder's pixels, info describes pictures, and
// unreadable pictures and wrong command lines give their exit status.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi/png_codec.h"
#include "tests/support/gif_list.h"
#include "tests/support/picture_list.h"
#include "tests/support/program_run.h"

namespace vel::tools {
namespace {

using Outcome = testing::ProgramOutcome;

std::string DataPath(const std::string& name) { return std::string(VEL_SOURCE_DIR) + "/tests/data/images/" + name; }

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "vel_image_" + std::to_string(::getpid()) + "_" + name;
}

Outcome RunVelImage(const std::string& arguments) { return testing::RunProgram(VEL_IMAGE_PATH, arguments); }

using Listed = testing::ListedPicture;

std::vector<Listed> Pictures() { return testing::ReadPictureList(DataPath("pictures.txt")); }

// Opaque reference pixels must match; transparent ones must be transparent in the output.
int Differences(const platform::Surface& out, const platform::Surface& reference) {
  if (out.Width() != reference.Width() || out.Height() != reference.Height()) return -1;
  int differences = 0;
  for (int y = 0; y < out.Height(); ++y) {
    for (int x = 0; x < out.Width(); ++x) {
      std::uint32_t want = reference.Pixel(x, y);
      std::uint32_t got = out.Pixel(x, y);
      bool same = (want >> 24) == 0 ? (got >> 24) == 0 : got == want;
      if (!same) ++differences;
    }
  }
  return differences;
}

TEST(VelImageConvert, EveryTestPictureGivesTheIndependentDecodersPixels) {
  std::vector<Listed> pictures = Pictures();
  ASSERT_GE(pictures.size(), 25u);
  std::string out = TempPath("out.png");
  for (const Listed& picture : pictures) {
    SCOPED_TRACE(picture.file);
    Outcome outcome = RunVelImage("convert " + DataPath(picture.file) + " " + out);
    if (picture.refused) {
      EXPECT_EQ(outcome.status, 2);
      EXPECT_EQ(std::count(outcome.errors.begin(), outcome.errors.end(), '\n'), 1) << outcome.errors;
      continue;
    }
    ASSERT_EQ(outcome.status, 0) << outcome.errors;
    auto converted = platform::ReadPngFile(out);
    auto reference = platform::ReadPngFile(DataPath(picture.reference));
    ASSERT_NE(converted, nullptr);
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(Differences(*converted, *reference), 0);
  }
  std::remove(out.c_str());
}

TEST(VelImageConvert, EachFrameOfEveryTestGifGivesGiflibsCanvas) {
  std::vector<testing::ListedGif> gifs = testing::ReadGifList(DataPath("gif/gifs.txt"));
  ASSERT_GE(gifs.size(), 15u);
  std::string out = TempPath("frame.png");
  for (const testing::ListedGif& gif : gifs) {
    SCOPED_TRACE(gif.file);
    std::string file = DataPath("gif/" + gif.file);
    if (gif.refused) {
      EXPECT_EQ(RunVelImage("convert " + file + " " + out).status, 2);
      continue;
    }
    for (int frame = 0; frame < gif.frames; ++frame) {
      SCOPED_TRACE(frame);
      Outcome outcome = RunVelImage("convert " + file + " " + out + " --frame " + std::to_string(frame));
      ASSERT_EQ(outcome.status, 0) << outcome.errors;
      auto converted = platform::ReadPngFile(out);
      auto reference = platform::ReadPngFile(DataPath("gif/" + gif.Reference(frame)));
      ASSERT_NE(converted, nullptr);
      ASSERT_NE(reference, nullptr);
      EXPECT_EQ(Differences(*converted, *reference), 0);
    }
    Outcome beyond = RunVelImage("convert " + file + " " + out + " --frame " + std::to_string(gif.frames));
    EXPECT_EQ(beyond.status, 2);
    EXPECT_NE(beyond.errors.find("no frame " + std::to_string(gif.frames)), std::string::npos) << beyond.errors;
  }
  std::remove(out.c_str());
}

TEST(VelImageConvert, TheReductionLeavesAtMost256Colours) {
  std::string out = TempPath("reduced.png");
  Outcome outcome = RunVelImage("convert " + DataPath("plasma.bmp") + " " + out + " --colors 256");
  ASSERT_EQ(outcome.status, 0) << outcome.errors;
  auto reduced = platform::ReadPngFile(out);
  ASSERT_NE(reduced, nullptr);
  std::set<std::uint32_t> colours;
  for (int y = 0; y < reduced->Height(); ++y) {
    for (int x = 0; x < reduced->Width(); ++x) colours.insert(reduced->Pixel(x, y));
  }
  EXPECT_LE(colours.size(), 256u);
  EXPECT_GT(colours.size(), 64u);
  std::remove(out.c_str());
}

TEST(VelImageInfo, DescribesKindSizeDepthAndColours) {
  Outcome outcome = RunVelImage("info " + DataPath("bmp4.bmp"));
  EXPECT_EQ(outcome.output, "kind: .bmp\nwidth: 37\nheight: 23\nbits: 4\ncolors: 16\n");
  EXPECT_EQ(outcome.status, 0);
  outcome = RunVelImage("info " + DataPath("baseline.jpg"));
  EXPECT_EQ(outcome.output, "kind: .jpg\nwidth: 37\nheight: 23\nbits: 24\ncolors: 16777216\n");
  outcome = RunVelImage("info " + DataPath("gif/loop_forever.gif"));
  EXPECT_EQ(outcome.output,
            "kind: .gif\nwidth: 37\nheight: 23\nbits: 8\ncolors: 64\nframes: 3\nloop count: 0 (forever)\n"
            "delays: 10 20 5\n");
  outcome = RunVelImage("info " + DataPath("gif/offset.gif"));
  EXPECT_NE(outcome.output.find("width: 30\nheight: 25\n"), std::string::npos) << outcome.output;
  EXPECT_NE(outcome.output.find("frames: 1\nloop count: none\ndelays: 0\n"), std::string::npos) << outcome.output;
  outcome = RunVelImage("info " + DataPath("boxes.wmf"));
  EXPECT_NE(outcome.output.find("kind: .wmf\nwidth: 96\n"), std::string::npos) << outcome.output;
}

TEST(VelImageErrors, UnreadablePicturesAndWrongCommandLines) {
  Outcome outcome = RunVelImage("info " + DataPath("pcx24.pcx"));
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.errors, "vel-image: " + DataPath("pcx24.pcx") + ": Upto 256 colours supported\n");
  outcome = RunVelImage("info " + DataPath("missing.bmp"));
  EXPECT_EQ(outcome.status, 2);
  outcome = RunVelImage("convert " + DataPath("bmp4.bmp") + " " + TempPath("x.png") + " --frame 1");
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.errors.find("no frame 1"), std::string::npos);
  for (const char* wrong : {"", "info", "frobnicate x", "convert a.bmp", "convert a.bmp b.png --colors 16",
                            "convert a.bmp b.png --colors", "convert a.bmp b.png --fast"}) {
    outcome = RunVelImage(wrong);
    EXPECT_EQ(outcome.status, 1) << wrong;
    EXPECT_NE(outcome.errors.find("usage: vel-image"), std::string::npos) << wrong;
  }
  outcome = RunVelImage("convert " + DataPath("bmp4.bmp") + " /nonexistent/dir/out.png");
  EXPECT_EQ(outcome.status, 1);
}

TEST(VelImageHelp, HelpAndVersion) {
  Outcome outcome = RunVelImage("--help");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output.find("usage: vel-image info FILE"), 0u);
  outcome = RunVelImage("--version");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "vel-image (Velmora runtime 4.002.00)\n");
}

}  // namespace
}  // namespace vel::tools

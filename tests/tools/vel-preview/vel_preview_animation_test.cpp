// An animated GIF on an image control in vel-preview, on the headless display's clock: the
// screen pictures a script takes show each frame as giflib decodes it, at the times the
// frames' delays give, and once the animation has played its loops the program has nothing
// left to wait for.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "platform/gdi/png_codec.h"

namespace vel::tools {
namespace {

std::string TemporaryPath(const std::string& name) {
  return ::testing::TempDir() + "vel_preview_gif_" + std::to_string(::getpid()) + "_" + name;
}

std::string GifPath(const std::string& name) {
  return std::string(VEL_SOURCE_DIR) + "/tests/data/images/gif/" + name;
}

// Where `frame` lies in `screen`, looked for near the top-left corner.
std::optional<POINT> Find(const platform::Surface& screen, const platform::Surface& frame) {
  for (int top = 0; top < 64; ++top) {
    for (int left = 0; left < 64; ++left) {
      bool same = true;
      for (int y = 0; y < frame.Height() && same; ++y) {
        for (int x = 0; x < frame.Width() && same; ++x) {
          same = (screen.Pixel(left + x, top + y) & 0xFFFFFF) == (frame.Pixel(x, y) & 0xFFFFFF);
        }
      }
      if (same) return POINT{left, top};
    }
  }
  return std::nullopt;
}

bool ShowsAt(const platform::Surface& screen, const platform::Surface& frame, POINT at) {
  for (int y = 0; y < frame.Height(); ++y) {
    for (int x = 0; x < frame.Width(); ++x) {
      if ((screen.Pixel(at.x + x, at.y + y) & 0xFFFFFF) != (frame.Pixel(x, y) & 0xFFFFFF)) return false;
    }
  }
  return true;
}

TEST(VelPreviewAnimation, AnImageControlShowsEachFrameAtItsTimeAndStopsAfterItsLoops) {
  std::string declaration = TemporaryPath("animation.wdc");
  {
    std::ofstream out(declaration);
    out << "definition \"preview$GIF\"\n\nwindow \"GIF\" at(0, 0, 100, 60) flags(pixel)\n  image \""
        << GifPath("loop_twice.gif") << "\" at(10, 10, default, default)\nend\n";
  }
  // Delays of 10 and 20 hundredths, played three times in all.
  const char* shots[] = {"start", "at100", "at300", "at399"};
  std::string script = "snapshot " + TemporaryPath("start.png") + "; wait 100; snapshot " + TemporaryPath("at100.png") +
                       "; wait 200; snapshot " + TemporaryPath("at300.png") + "; wait 99; snapshot " +
                       TemporaryPath("at399.png");
  std::string windir = TemporaryPath("windir");
  std::string command = "VELMORA_DISPLAY=headless VELMORA_WINDIR='" + windir + "' VELMORA_HEADLESS_INPUT='" + script +
                        "' " + VEL_PREVIEW_PATH + " " + declaration + " >/dev/null 2>&1";
  int status = std::system(command.c_str());
  // The script ran out after the animation stopped: nothing else would ever happen.
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);

  auto first = platform::ReadPngFile(GifPath("loop_twice.gif.0.png"));
  auto second = platform::ReadPngFile(GifPath("loop_twice.gif.1.png"));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  std::unique_ptr<platform::Surface> screens[4];
  for (int i = 0; i < 4; ++i) {
    screens[i] = platform::ReadPngFile(TemporaryPath(std::string(shots[i]) + ".png"));
    ASSERT_NE(screens[i], nullptr) << shots[i];
  }
  std::optional<POINT> at = Find(*screens[0], *first);
  ASSERT_TRUE(at.has_value()) << "the first frame is on the screen";
  EXPECT_TRUE(ShowsAt(*screens[1], *second, *at)) << "the second frame after 100 milliseconds";
  EXPECT_TRUE(ShowsAt(*screens[2], *first, *at)) << "the first frame again after 200 more";
  EXPECT_TRUE(ShowsAt(*screens[3], *first, *at)) << "still the first frame 99 milliseconds on";

  for (const char* shot : shots) std::remove(TemporaryPath(std::string(shot) + ".png").c_str());
  std::remove(declaration.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(windir, ignored);
}

}  // namespace
}  // namespace vel::tools

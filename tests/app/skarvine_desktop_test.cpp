// skarvine on a virtual X server with the desktop backend, as a user runs it: the one-row window
// above the others, its choices back from skarvine.INI, and ended by the desktop (SIGTERM) or
// from the keyboard with the choices kept; a search typed and clicked opens its address. A
// picture of the screen is kept as a test artifact in test-artifacts/skarvine-desktop.png.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gdi/png_codec.h"
#include "platform/gdi/surface.h"
#include "tests/app/search_window_session.h"
#include "tests/support/desktop_session.h"

namespace vel::app {
namespace {

using vel::testing::OnPath;
using vel::testing::ReadFile;
using vel::testing::DumpPixel;

/// Keeps the top of the screen dump as a PNG for a person to look at.
void KeepScreenPicture(const std::string& dump, int width, int height) {
  platform::Surface picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const long colour = DumpPixel(dump, x, y);
      picture.SetPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(colour < 0 ? 0 : colour));
    }
  }
  std::filesystem::create_directories("test-artifacts");
  EXPECT_TRUE(platform::WritePngFile(picture, "test-artifacts/skarvine-desktop.png"));
}

// What both drivers start with: find_window sets w to the program's window (process $pid). SDL
// shows a short-lived measuring window first, so a window counts only once it is still there
// a moment after it was found; otherwise the driver would query a window that has gone and
// fail with BadWindow.
constexpr const char* kFindWindow = R"(set -u
find_window() {
  w=
  for i in $(seq 1 150); do
    w=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | tail -n 1)
    if [ -n "$w" ]; then
      sleep 0.5
      xdotool getwindowgeometry "$w" > /dev/null 2>&1 && return 0
    fi
    w=
    sleep 0.2
  done
  echo 'no window' >> "$dir/out.txt"; kill $pid; wait $pid; exit 1
}
)";

// The driver: the program started twice on the desktop backend, found by its process id. The
// first run is ended by SIGTERM as a desktop session ends it, the second from the keyboard.
constexpr const char* kDriverBody = R"(
program="$1"
dir="$2"
export LSAN_OPTIONS=suppressions="$dir/leaks.supp"
cd "$dir"
start() {
  VELMORA_DISPLAY=sdl VELMORA_WINDIR="$dir" "$program" >> "$dir/out.txt" 2>&1 & pid=$!
  find_window
}
finish() {
  for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && { echo 'still running' >> "$dir/out.txt"; kill -KILL $pid; }
  wait $pid
  echo "exit $?" >> "$dir/out.txt"
}
start
# The first paint may come late on a loaded machine (or in a sanitizer build).
sleep 1.5
xprop -id "$w" _NET_WM_STATE > "$dir/state.txt" 2>&1
xdotool getwindowgeometry "$w" > "$dir/geometry.txt"
command -v xwd > /dev/null && xwd -root -silent > "$dir/screen.xwd"
kill -TERM $pid
finish
cp "$dir/skarvine.INI" "$dir/after-term.ini"
start
# On a loaded machine the click that gives the window the keyboard may come late; the keys are
# sent again while the program still runs.
for attempt in 1 2 3; do
  xdotool mousemove --window "$w" 5 3 click 1
  sleep 0.3
  xdotool key alt+F4
  for i in $(seq 1 30); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null || break
done
finish
)";

TEST(SkarvineDesktop, TheRowStaysAboveKeepsItsChoicesAndEndsGracefullyEitherWay) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("timeout") || !OnPath("xprop")) {
    GTEST_SKIP() << "xvfb-run, xdotool, xprop or timeout is not installed";
  }
  char pattern[] = "/tmp/vel_skarvine_e2e_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path folder = pattern;
  std::ofstream(folder / "leaks.supp") << "leak:libX11\nleak:libSDL2\nleak:libdbus\nleak:libxcb\n";
  std::ofstream(folder / "drive.sh") << kFindWindow << kDriverBody;
  const std::string settings = "[SearchParms]\r\nMaxhits=100\r\nViewFormat=tabular\r\nAndOr=OR\r\n";
  std::ofstream(folder / "skarvine.INI", std::ios::binary) << settings;

  // Test programs started at once with "xvfb-run -a" can pick the same free server number; this
  // one starts its search elsewhere. The server must not reset when the first run's connection
  // closes, or the second run can meet it mid-reset and find no display.
  const std::string serverNumber = std::to_string(200 + getpid() % 500);
  const std::string command = "xvfb-run -a -n " + serverNumber + " -s '-noreset -screen 0 800x200x24' sh '" +
                              (folder / "drive.sh").string() +
                              "' '" + VEL_SKARVINE_PATH + "' '" + folder.string() + "'";
  const int status = std::system(command.c_str());
  const std::string output = ReadFile(folder / "out.txt");
  const std::string state = ReadFile(folder / "state.txt");
  const std::string geometry = ReadFile(folder / "geometry.txt");
  const std::string dump = ReadFile(folder / "screen.xwd");
  const std::string afterTerm = ReadFile(folder / "after-term.ini");
  const std::string afterClose = ReadFile(folder / "skarvine.INI");
  std::filesystem::remove_all(folder);

  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_EQ(output, "exit 0\nexit 0\n") << "both runs end by their close path";
  EXPECT_NE(state.find("_NET_WM_STATE_ABOVE"), std::string::npos) << state;
  EXPECT_EQ(afterTerm, settings);
  EXPECT_EQ(afterClose, settings);

  // One row of 8 dialog units of an 8-point font at 96 dpi, at dialog unit x 40 and the top.
  int width = 0, height = 0;
  const size_t at = geometry.find("Geometry: ");
  ASSERT_NE(at, std::string::npos) << geometry;
  ASSERT_EQ(std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height), 2) << geometry;
  EXPECT_GT(width, 600);
  EXPECT_GE(height, 10);
  EXPECT_LE(height, 16);
  if (!dump.empty()) {
    KeepScreenPicture(dump, 800, 40);
    EXPECT_NE(DumpPixel(dump, 100, 5), 0x000000L) << "the row is drawn at the top";
    EXPECT_EQ(DumpPixel(dump, 100, 60), 0x000000L) << "and nothing below it";
  }
}

// The driver of a search as a user makes it: clicks found from the window's width (the row is
// 439 dialog units wide, so a control's middle in dialog units scales by width / 439), typing,
// the drop lists opened and their rows found by a typed letter (which closes them; an Enter
// after it would press the default button and search early), the AND radio button and the
// search button clicked. A stand-in xdg-open on PATH writes down the address it is given.
constexpr const char* kSearchDriverBody = R"(
program="$1"
dir="$2"
export LSAN_OPTIONS=suppressions="$dir/leaks.supp"
export PATH="$dir/bin:$PATH"
cd "$dir"
VELMORA_DISPLAY=sdl VELMORA_WINDIR="$dir" "$program" >> "$dir/out.txt" 2>&1 & pid=$!
find_window
sleep 1
width=$(xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1/p')
height=$(xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\2/p')
y=$((height / 2))
at() { echo $(($1 * width / 439)); }
xdotool mousemove --window "$w" $(at 89) $y click 1
sleep 0.3
xdotool type --delay 60 'foo bar'
xdotool mousemove --window "$w" $(at 231) $y click 1
sleep 0.5
xdotool type --delay 60 'l'
sleep 0.3
xdotool mousemove --window "$w" $(at 290) $y click 1
sleep 0.5
xdotool type --delay 60 '5'
sleep 0.3
xdotool mousemove --window "$w" $(at 137) $y click 1
sleep 0.3
xdotool mousemove --window "$w" $(at 400) $y click 1
for i in $(seq 1 100); do [ -s "$dir/opened.txt" ] && break; sleep 0.1; done
xdotool mousemove --window "$w" $(at 432) $y click 1
for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { echo 'still running' >> "$dir/out.txt"; kill -KILL $pid; }
wait $pid
echo "exit $?" >> "$dir/out.txt"
)";

TEST(SkarvineDesktop, ASearchTypedAndClickedOpensItsAddressAndKeepsTheChoices) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("timeout")) {
    GTEST_SKIP() << "xvfb-run, xdotool or timeout is not installed";
  }
  char pattern[] = "/tmp/vel_skarvine_search_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path folder = pattern;
  std::ofstream(folder / "leaks.supp") << "leak:libX11\nleak:libSDL2\nleak:libdbus\nleak:libxcb\n";
  std::ofstream(folder / "drive.sh") << kFindWindow << kSearchDriverBody;
  std::filesystem::create_directories(folder / "bin");
  std::ofstream(folder / "bin" / "xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"" << (folder / "opened.txt").string()
                                              << "\"\n";
  std::filesystem::permissions(folder / "bin" / "xdg-open", std::filesystem::perms::owner_all);

  const std::string serverNumber = std::to_string(200 + (getpid() + 250) % 500);
  const std::string command = "xvfb-run -a -n " + serverNumber + " -s '-noreset -screen 0 800x200x24' sh '" +
                              (folder / "drive.sh").string() + "' '" + VEL_SKARVINE_PATH + "' '" + folder.string() + "'";
  const int status = std::system(command.c_str());
  const std::string output = ReadFile(folder / "out.txt");
  const std::string opened = ReadFile(folder / "opened.txt");
  const std::string settings = ReadFile(folder / "skarvine.INI");
  std::filesystem::remove_all(folder);

  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(output, "exit 0\n");
  EXPECT_EQ(opened, testing::ExpectedAddress("foo bar", "AND", "list", "50", "") + "\n");
  EXPECT_EQ(settings, "[SearchParms]\r\nMaxhits=50\r\nViewFormat=list\r\nAndOr=AND\r\n");
}

}  // namespace
}  // namespace vel::app

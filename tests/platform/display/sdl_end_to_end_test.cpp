#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "tests/support/desktop_session.h"

namespace vel::platform {
namespace {

using vel::testing::OnPath;
using vel::testing::ReadFile;
using vel::testing::DumpPixel;

/// Runs a driver script (sh) on a fresh virtual X server with the program and an output file as
/// its arguments; returns the exit status and leaves the program's output in `output`.
int RunOnXServer(const std::string& driver, const char* program, std::string* output, std::string* folderOut) {
  char folder[] = "/tmp/vel_sdl_e2e_XXXXXX";
  if (mkdtemp(folder) == nullptr) return -1;
  *folderOut = folder;
  const std::string outputPath = std::string(folder) + "/out.txt";
  const std::string script = std::string(folder) + "/drive.sh";
  // The desktop libraries keep some allocations to the end of the process; the leak checker of
  // a sanitizer build is told about them so it judges only this project's code.
  std::ofstream(std::string(folder) + "/leaks.supp") << "leak:libX11\nleak:libSDL2\nleak:libdbus\nleak:libxcb\n";
  std::ofstream(script) << "set -u\nexport LSAN_OPTIONS=suppressions=" << folder << "/leaks.supp\n" << driver;
  const std::string command = std::string("xvfb-run -a -s '-screen 0 640x480x24' sh '") + script + "' '" +
                              program + "' '" + outputPath + "' '" + folder + "'";
  const int status = std::system(command.c_str());
  *output = ReadFile(outputPath);
  return status;
}

void RemoveFolder(const std::string& folder) {
  const std::string command = "rm -rf '" + folder + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

/// A driver script that starts the program on the desktop backend, waits for its window named
/// `title` (its id in $w), runs `steps`, and waits up to ten seconds for the program to end
/// after the steps (killing it and saying so in the output if it does not).
std::string DriveWindow(const char* title, const std::string& steps) {
  return std::string("VELMORA_DISPLAY=sdl \"$1\" > \"$2\" 2>&1 & pid=$!\n"
                     "w=$(timeout 30 xdotool search --sync --onlyvisible --name '^") +
         title +
         "$' | head -n 1)\n"
         "[ -n \"$w\" ] || { echo 'no window' >> \"$2\"; kill $pid; wait $pid; exit 1; }\n"
         "sleep 0.5\n" +
         steps +
         "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
         "kill -0 $pid 2>/dev/null && { echo 'still running' >> \"$2\"; kill $pid; }\n"
         "wait $pid\n";
}

// A window drawn by the program shows on the X server as it drew it, and takes clicks (in client
// coordinates) and typing; Escape ends the program.
TEST(SdlDesktop, APaintedWindowShowsAndTakesInput) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("timeout")) {
    GTEST_SKIP() << "xvfb-run, xdotool or timeout is not installed";
  }
  const bool canDump = OnPath("xwd");
  std::string output;
  std::string folder;
  const int status = RunOnXServer(
      DriveWindow("Probe",
                  "xdotool mousemove --window \"$w\" 60 45 click 1\n"
                  "xdotool type --delay 80 'ok'\n"
                  "sleep 0.5\n"
                  "command -v xwd > /dev/null && xwd -root -silent > \"$3/screen.xwd\"\n"
                  "xdotool key Escape\n"),
      VEL_DESKTOP_PROBE, &output, &folder);
  const std::string dump = ReadFile(folder + "/screen.xwd");
  RemoveFolder(folder);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(output.find("painted\nclick 60 45\nchar o\nchar k\n"), std::string::npos) << output;
  if (canDump) {
    // The window is at (50, 50); its red box covers client (10, 10)-(110, 60), the rest is blue.
    EXPECT_EQ(DumpPixel(dump, 50 + 60, 50 + 30), 0xFF0000L);
    EXPECT_EQ(DumpPixel(dump, 50 + 200, 50 + 150), 0x0000FFL);
    EXPECT_EQ(DumpPixel(dump, 10, 10), 0x000000L);
  }
}

// Real wheel turns (buttons 4 and 5) reach the focus window with the screen position; the
// cursor the program sets becomes the desktop's hand, then a picture of the program's own with
// its hot spot, then nothing once hidden; the class icon is the desktop window's icon.
TEST(SdlDesktop, TheWheelCursorsAndTheIconReachTheDesktop) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("timeout")) {
    GTEST_SKIP() << "xvfb-run, xdotool or timeout is not installed";
  }
  const bool canReadIcon = OnPath("xprop");
  std::string output;
  std::string folder;
  const int status = RunOnXServer(
      DriveWindow("Probe",
                  "xdotool mousemove --window \"$w\" 60 45\n"
                  "sleep 0.3\n"
                  "xdotool click 4\n"
                  "sleep 0.2\n"
                  "xdotool click 5\n"
                  "sleep 0.3\n"
                  "xdotool click 3\n"
                  "sleep 0.3\n"
                  "xdotool type c\n"
                  "sleep 0.3\n"
                  "xdotool click 3\n"
                  "sleep 0.3\n"
                  "xdotool type h\n"
                  "sleep 0.3\n"
                  "xdotool click 3\n"
                  "sleep 0.3\n"
                  "command -v xprop > /dev/null && xprop -id \"$w\" _NET_WM_ICON > \"$3/icon.txt\"\n"
                  "xdotool key Escape\n"),
      VEL_DESKTOP_PROBE, &output, &folder);
  const std::string icon = ReadFile(folder + "/icon.txt");
  RemoveFolder(folder);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  // The virtual server does not scale and tells SDL no resolution: the program lays out at 96.
  EXPECT_EQ(output.rfind("dpi 96 96\n", 0), 0u) << output;
  // The window is at (50, 50), so client (60, 45) is screen (110, 95).
  EXPECT_NE(output.find("wheel 120 at 110 95 keys 0\nwheel -120 at 110 95 keys 0\n"), std::string::npos) << output;
  EXPECT_NE(output.find("cursor system 32649\ncursor picture 32x32 at 3,4\ncursor hidden\n"), std::string::npos)
      << output;
  if (canReadIcon) {
    EXPECT_NE(icon.find("Icon (32 x 32)"), std::string::npos) << icon;
  }
}

// The keyboard tour on a virtual X server with the desktop backend, driven by real X input:
// a click into its field, typed text, a click on Cancel, a click back into the field and
// Return for the default button. The window sits at (100, 100); inside it the client area
// starts below a 4-pixel frame and a 19-pixel caption.
TEST(SdlDesktop, AProgramOnAnXServerTakesRealClicksAndTyping) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("timeout")) {
    GTEST_SKIP() << "xvfb-run, xdotool or timeout is not installed";
  }
  std::string text;
  std::string folder;
  const int status = RunOnXServer(
      DriveWindow("Tour",
                  "xdotool mousemove --window \"$w\" 60 45 click 1\n"
                  "sleep 0.3\n"
                  "xdotool type --delay 80 'hi'\n"
                  "sleep 0.3\n"
                  "xdotool mousemove --window \"$w\" 240 135 click 1\n"
                  "sleep 0.3\n"
                  "xdotool mousemove --window \"$w\" 60 45 click 1\n"
                  "sleep 0.3\n"
                  "xdotool key Return\n"),
      VEL_KEYBOARD_TOUR, &text, &folder);
  RemoveFolder(folder);
  ASSERT_TRUE(WIFEXITED(status)) << text;
  EXPECT_EQ(WEXITSTATUS(status), 0) << text;
  EXPECT_NE(text.find("focus field\n"), std::string::npos) << text;
  EXPECT_NE(text.find("cancel\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ok: hi\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("running headless"), std::string::npos) << text;
}

// The control tour on a virtual X server: a menu chosen with the mouse and the keyboard, an
// accelerator, a message box answered by its mnemonic, the keyboard back with the main window
// afterwards (its caption active again), and the window dragged by its caption. The window sits at (80, 80); its client area
// starts below a 3-pixel frame, a 19-pixel caption and a 19-pixel menu bar.
TEST(SdlDesktop, TheControlTourTakesMenusAcceleratorsAndAMessageBox) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("timeout")) {
    GTEST_SKIP() << "xvfb-run, xdotool or timeout is not installed";
  }
  const bool canDump = OnPath("xwd");
  std::string text;
  std::string folder;
  const int status = RunOnXServer(
      DriveWindow("Control tour",
                  "xdotool mousemove --window \"$w\" 15 31 click 1\n"
                  "sleep 0.6\n"
                  "xdotool key Down Return\n"
                  "sleep 0.5\n"
                  "xdotool key ctrl+l\n"
                  "sleep 0.5\n"
                  "xdotool mousemove --window \"$w\" 155 90 click 1\n"
                  "sleep 0.8\n"
                  "xdotool key y\n"
                  "sleep 0.8\n"
                  "xdotool key ctrl+g\n"
                  "sleep 0.5\n"
                  "command -v xwd > /dev/null && xwd -root -silent > \"$3/screen.xwd\"\n"
                  "xdotool mousemove --window \"$w\" 150 10 mousedown 1\n"
                  "sleep 0.2\n"
                  "xdotool mousemove_relative 20 15\n"
                  "sleep 0.2\n"
                  "xdotool mousemove_relative 20 15\n"
                  "sleep 0.2\n"
                  "xdotool mouseup 1\n"
                  "sleep 0.4\n"
                  "xdotool getwindowgeometry \"$w\" > \"$3/geometry.txt\"\n"
                  "xdotool key alt+f\n"
                  "sleep 0.3\n"
                  "xdotool key x\n"),
      VEL_CONTROL_TOUR, &text, &folder);
  const std::string dump = ReadFile(folder + "/screen.xwd");
  const std::string geometry = ReadFile(folder + "/geometry.txt");
  RemoveFolder(folder);
  ASSERT_TRUE(WIFEXITED(status)) << text;
  EXPECT_EQ(WEXITSTATUS(status), 0) << text;
  // Dragging the caption by (40, 30) moved the desktop window with it.
  EXPECT_NE(geometry.find("Position: 120,110"), std::string::npos) << geometry;
  size_t at = 0;
  for (const char* line : {"ready\n", "greet: Hello.\n", "loud: on\n", "answer: yes\n", "greet: Hello!\n"}) {
    at = text.find(line, at);
    ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << text;
  }
  EXPECT_EQ(text.find("still running"), std::string::npos) << text;
  if (canDump) {
    // The active caption colour behind the title, and the button face of the client area.
    EXPECT_EQ(DumpPixel(dump, 80 + 200, 80 + 8), 0x000080L);
    EXPECT_EQ(DumpPixel(dump, 80 + 300, 80 + 3 + 19 + 19 + 140), 0xC0C0C0L);
  }
}

}  // namespace
}  // namespace vel::platform

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vel::platform {
namespace {

bool OnPath(const char* program) {
  const std::string command = std::string("command -v ") + program + " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The keyboard tour on a virtual X server with the desktop backend, driven by real X input:
// a click into its field, typed text, a click on Cancel, a click back into the field and
// Return for the default button. The window sits at (100, 100); inside it the client area
// starts below a 4-pixel frame and a 19-pixel caption.
TEST(SdlDesktop, AProgramOnAnXServerTakesRealClicksAndTyping) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("timeout")) {
    GTEST_SKIP() << "xvfb-run, xdotool or timeout is not installed";
  }
  char folder[] = "/tmp/vel_sdl_e2e_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string output = std::string(folder) + "/out.txt";
  const std::string script = std::string(folder) + "/drive.sh";
  {
    std::ofstream out(script);
    out << "set -u\n"
        << "VELMORA_DISPLAY=sdl \"$1\" > \"$2\" 2>&1 & pid=$!\n"
        << "w=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tour$' | head -n 1)\n"
        << "[ -n \"$w\" ] || { echo 'no window' >> \"$2\"; kill $pid; wait $pid; exit 1; }\n"
        << "sleep 0.5\n"
        << "xdotool mousemove --window \"$w\" 60 45 click 1\n"
        << "sleep 0.3\n"
        << "xdotool type --delay 80 'hi'\n"
        << "sleep 0.3\n"
        << "xdotool mousemove --window \"$w\" 240 135 click 1\n"
        << "sleep 0.3\n"
        << "xdotool mousemove --window \"$w\" 60 45 click 1\n"
        << "sleep 0.3\n"
        << "xdotool key Return\n"
        << "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
        << "kill -0 $pid 2>/dev/null && { echo 'still running' >> \"$2\"; kill $pid; }\n"
        << "wait $pid\n";
  }
  const std::string command = std::string("xvfb-run -a -s '-screen 0 1024x768x24' sh '") + script + "' '" +
                              VEL_KEYBOARD_TOUR + "' '" + output + "'";
  const int status = std::system(command.c_str());
  const std::string text = ReadFile(output);
  std::remove(output.c_str());
  std::remove(script.c_str());
  rmdir(folder);
  ASSERT_TRUE(WIFEXITED(status)) << text;
  EXPECT_EQ(WEXITSTATUS(status), 0) << text;
  EXPECT_NE(text.find("focus field\n"), std::string::npos) << text;
  EXPECT_NE(text.find("cancel\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ok: hi\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("running headless"), std::string::npos) << text;
}

}  // namespace
}  // namespace vel::platform

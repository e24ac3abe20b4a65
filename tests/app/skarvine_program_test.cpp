// The program as a user starts it: without a desktop it says so instead of waiting unseen.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/program_run.h"

namespace vel::app {
namespace {

TEST(SkarvineProgram, WithoutADesktopItSaysSoInOneLineAndFails) {
  const std::string noDesktop = "env -u DISPLAY -u WAYLAND_DISPLAY -u VELMORA_DISPLAY VELMORA_WINDIR=" +
                                ::testing::TempDir() + " " + VEL_SKARVINE_PATH;
  vel::testing::ProgramOutcome outcome = vel::testing::RunProgram(noDesktop, "");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.errors,
            "skarvine: no desktop display is available (no DISPLAY or WAYLAND_DISPLAY is set); "
            "set VELMORA_DISPLAY=headless to run without one\n");

  // A display that cannot be reached is no desktop either. (The desktop libraries keep what
  // they allocated while trying; a sanitizer build is told so, to judge only this project.)
  const std::string suppressions = ::testing::TempDir() + "skarvine_program_leaks.supp";
  std::ofstream(suppressions) << "leak:libX11\nleak:libSDL2\nleak:libdbus\nleak:libxcb\n";
  vel::testing::ProgramOutcome unreachable = vel::testing::RunProgram(
      "env -u WAYLAND_DISPLAY -u VELMORA_DISPLAY DISPLAY=:9999 LSAN_OPTIONS=print_suppressions=0:suppressions=" + suppressions + " " +
          VEL_SKARVINE_PATH,
      "");
  std::remove(suppressions.c_str());
  EXPECT_EQ(unreachable.status, 1);
  EXPECT_EQ(unreachable.errors.rfind("skarvine: no desktop display is available (", 0), 0u) << unreachable.errors;
  EXPECT_EQ(unreachable.errors.find('\n'), unreachable.errors.size() - 1) << "one line";
}

}  // namespace
}  // namespace vel::app

// Two previews of the drag-and-drop example as two programs on a virtual X server, joined by a
// message bus of their own: a row dragged with the real mouse from one program's list onto the
// other's entry, then a second drag whose target program is killed under the pointer.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include "tests/support/desktop_session.h"

namespace vel::tools {
namespace {

using vel::testing::OnPath;
using vel::testing::ReadFile;

// The driver: both windows found from the layout lines the previews print once shown, the
// drags made of small steps as a hand makes them. The previews append to their logs, so the
// driver's own notes land between their lines in order.
constexpr const char* kDriver = R"(set -u
preview="$1"
wdc="$2"
dir="$3"
export LSAN_OPTIONS=suppressions="$dir/leaks.supp"
cd "$dir"
shown() {
  for i in $(seq 1 150); do grep -q '^layout field 2 ' "$1" && return 0; sleep 0.2; done
  return 1
}
# The target first: the source, shown last, is the window the user works in and has the keyboard.
VELMORA_DISPLAY=sdl VELMORA_WINDIR="$dir" "$preview" --layout "$wdc" 'T$DRAGDROP' >> "$dir/target.txt" 2>&1 & target=$!
shown "$dir/target.txt" || { echo 'no target window' >> "$dir/events.txt"; kill $target; exit 1; }
VELMORA_DISPLAY=sdl VELMORA_WINDIR="$dir" "$preview" --layout "$wdc" 'D$DRAGDROP' >> "$dir/source.txt" 2>&1 & source=$!
shown "$dir/source.txt" || { echo 'no source window' >> "$dir/events.txt"; kill $source $target; exit 1; }
# The first paint may come late on a loaded machine (or in a sanitizer build).
sleep 1.5
place() { sed -n "s/^layout field $2 [^ ]* \([-0-9]*\) \([-0-9]*\) \([0-9]*\) \([0-9]*\)$/\1 \2 \3 \4/p" "$1" | head -n 1; }
set -- $(place "$dir/source.txt" 2); lx=$1; ly=$2
set -- $(place "$dir/target.txt" 2); ex=$(($1 + $3 / 2)); ey=$(($2 + $4 / 2))
# Presses at a point and moves in ten steps to another, the button held. The steps are relative
# moves, as a mouse makes them: the desktop library learns where the pointer is from those.
drag() {
  xdotool mousemove $1 $2
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  for s in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove_relative -- $((($3 - $1) * s / 10 - ($3 - $1) * (s - 1) / 10)) \
      $((($4 - $2) * s / 10 - ($4 - $2) * (s - 1) / 10))
    sleep 0.1
  done
  sleep 0.5
}
drag $((lx + 12)) $((ly + 6)) $ex $ey
xdotool mouseup 1
for i in $(seq 1 50); do grep -q DROPID "$dir/target.txt" && break; sleep 0.1; done
echo 'first drop' >> "$dir/events.txt"
# The second drag: the target program dies under the pointer. The source goes on.
drag $((lx + 12)) $((ly + 6)) $ex $ey
kill -KILL $target
wait $target
echo 'target killed' >> "$dir/source.txt"
xdotool mousemove_relative 20 0
sleep 0.3
xdotool mousemove_relative -- -100 20
sleep 0.3
xdotool mouseup 1
sleep 0.5
# Still answering: a click on the list is a drag to nowhere.
xdotool mousemove $((lx + 12)) $((ly + 20)) click 1
sleep 1
kill -TERM $source
for i in $(seq 1 100); do kill -0 $source 2>/dev/null || break; sleep 0.1; done
kill -0 $source 2>/dev/null && { echo 'still running' >> "$dir/events.txt"; kill -KILL $source; }
wait $source
echo "source exit $?" >> "$dir/events.txt"
)";

TEST(VelPreviewDesktop, ARowDragsToAnotherProgramAndAKilledTargetLeavesTheSourceRunning) {
  if (!OnPath("xvfb-run") || !OnPath("xdotool") || !OnPath("dbus-run-session")) {
    GTEST_SKIP() << "xvfb-run, xdotool or dbus-run-session is not installed";
  }
  char pattern[] = "/tmp/vel_drag_e2e_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path folder = pattern;
  std::ofstream(folder / "leaks.supp") << "leak:libX11\nleak:libSDL2\nleak:libdbus\nleak:libxcb\nleak:libsystemd\n";
  std::ofstream(folder / "drive.sh") << kDriver;
  // Started apart from other tests' servers, which "-a" alone may pick at the same moment.
  const std::string serverNumber = std::to_string(700 + getpid() % 200);
  const std::string command = "xvfb-run -a -n " + serverNumber +
                              " -s '-noreset -screen 0 800x300x24' dbus-run-session -- sh '" +
                              (folder / "drive.sh").string() + "' '" + VEL_PREVIEW_PATH + "' '" +
                              VEL_SOURCE_DIR + "/examples/drag_and_drop.wdc' '" + folder.string() + "'";
  const int status = std::system(command.c_str());
  const std::string events = ReadFile(folder / "events.txt");
  const std::string source = ReadFile(folder / "source.txt");
  const std::string target = ReadFile(folder / "target.txt");
  std::filesystem::remove_all(folder);

  ASSERT_TRUE(WIFEXITED(status)) << events;
  EXPECT_EQ(WEXITSTATUS(status), 0) << events << source << target;
  EXPECT_EQ(events, "first drop\nsource exit 0\n") << source << target;

  // The target program's entry took the row, with the identifier both sides declared.
  const size_t drop = target.find("EVENT:Drop field=2\n");
  ASSERT_NE(drop, std::string::npos) << target;
  EXPECT_NE(target.find("  DRAGID = ~Fruit\n  DROPID = apple\n", drop), std::string::npos) << target;
  EXPECT_EQ(target.find("EVENT:Drop", drop + 1), std::string::npos) << "one drop only: " << target;

  // The source saw the pointer cross into the other program and the release.
  const size_t first = source.find("EVENT:Dragging field=2\n");
  ASSERT_NE(first, std::string::npos) << source;
  EXPECT_NE(source.find("EVENT:Drag field=2\n", first), std::string::npos) << source;
  // After the target died the release still ended the drag, and the program went on to take a
  // click and to close when asked.
  const size_t killed = source.find("target killed\n");
  ASSERT_NE(killed, std::string::npos) << source;
  size_t drags = 0;
  for (size_t at = source.find("EVENT:Drag field=2\n", killed); at != std::string::npos;
       at = source.find("EVENT:Drag field=2\n", at + 1)) {
    ++drags;
  }
  EXPECT_EQ(drags, 2u) << "the release, then the click: " << source;
  EXPECT_NE(source.find("EVENT:CloseWindow", killed), std::string::npos) << source;
}

// Without a message bus the program runs on its own and drags within it as before; the trace
// log says once, not at every drag, that they stay within it.
TEST(VelPreviewDesktop, WithoutAMessageBusDragsStayWithinAndTheTraceLogSaysSoOnce) {
  char pattern[] = "/tmp/vel_drag_alone_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path folder = pattern;
  auto run = [&](const std::string& arguments, const std::string& script) {
    const std::string command = "cd '" + folder.string() +
                                "' && DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus XDG_RUNTIME_DIR=/nonexistent "
                                "VELMORA_DISPLAY=headless VELMORA_WINDIR=. VELMORA_HEADLESS_INPUT='" + script + "' " +
                                VEL_PREVIEW_PATH + " " + arguments + " '" + VEL_SOURCE_DIR +
                                "/examples/drag_and_drop.wdc' > out.txt 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(folder / "out.txt");
    return ReadFile(folder / "out.txt");
  };
  // Where the list's first row and the entry are, from a first run.
  const std::string layout = run("--layout", "key F4 alt");
  int list[4] = {};
  int entry[4] = {};
  const size_t listAt = layout.find("layout field 2 ");
  const size_t entryAt = layout.find("layout field 4 ");
  ASSERT_NE(listAt, std::string::npos) << layout;
  ASSERT_NE(entryAt, std::string::npos) << layout;
  ASSERT_EQ(std::sscanf(layout.c_str() + listAt, "layout field 2 %*s %d %d %d %d", &list[0], &list[1], &list[2], &list[3]), 4);
  ASSERT_EQ(std::sscanf(layout.c_str() + entryAt, "layout field 4 %*s %d %d %d %d", &entry[0], &entry[1], &entry[2], &entry[3]), 4);
  const std::string from = std::to_string(list[0] + 12) + " " + std::to_string(list[1] + 6);
  const std::string to = std::to_string(entry[0] + entry[2] / 2) + " " + std::to_string(entry[1] + entry[3] / 2);
  const std::string drag = "down " + from + "; move " + to + "; up " + to + "; ";
  std::filesystem::remove(folder / "V4LOG.TXT");

  const std::string output = run("", drag + drag + "key F4 alt");
  const std::string log = ReadFile(folder / "V4LOG.TXT");
  std::filesystem::remove_all(folder);
  const size_t first = output.find("EVENT:Drop field=4\n");
  ASSERT_NE(first, std::string::npos) << output;
  EXPECT_NE(output.find("EVENT:Drop field=4\n", first + 1), std::string::npos) << "both drags dropped: " << output;
  const std::string line = "Drag and drop: no message bus to other programs; drags stay within this program\r\n";
  const size_t at = log.find(line);
  EXPECT_NE(at, std::string::npos) << log;
  EXPECT_EQ(log.find(line, at + 1), std::string::npos) << log;
}

}  // namespace
}  // namespace vel::tools

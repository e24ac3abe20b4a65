#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ProgramRun {
  std::string output;
  int exitCode;
};

// Runs a program with an input script for the headless display and collects its output.
ProgramRun RunWithScript(const std::string& program, const std::string& script, bool withErrors = false) {
  std::string command = "VELMORA_DISPLAY=headless VELMORA_HEADLESS_INPUT='" + script + "' '" + program + "'" +
                        (withErrors ? " 2>&1" : " 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  ProgramRun run{{}, -1};
  if (pipe == nullptr) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) run.output += buffer;
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(PlainProgram, RunsUnchangedOnTheHeadlessDisplayDrivenByAScript) {
  ProgramRun run = RunWithScript(VEL_KEYBOARD_TOUR,
                          "text hi; key TAB; key TAB; key TAB; click 320 230; key ESCAPE; key TAB shift;"
                          "key TAB shift; wait 500; wait 500; wait 500; key RETURN");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            "focus field\n"
            "focus field\n"
            "cancel\n"
            "cancel\n"
            "focus field\n"
            "tick 1\n"
            "tick 2\n"
            "tick 3\n"
            "ok: hi\n");
}

TEST(PlainProgram, AScriptThatEndsWhileTheProgramWaitsEndsTheRun) {
  ProgramRun run = RunWithScript(VEL_KEYBOARD_TOUR, "key TAB", true);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.output.find("input script finished"), std::string::npos);
  ProgramRun bad = RunWithScript(VEL_KEYBOARD_TOUR, "key NOSUCHKEY; key RETURN", true);
  EXPECT_NE(bad.output.find("unknown key"), std::string::npos);
}

TEST(PlainProgram, ATerminationSignalClosesItsWindowsAndTheProgramEndsNormally) {
  // The program runs its timer out and then waits for input; the signal comes from outside
  // once it has got that far (up to half a minute on a loaded machine).
  char output[] = "/tmp/vel_tour_signal_XXXXXX";
  int descriptor = mkstemp(output);
  ASSERT_GE(descriptor, 0);
  close(descriptor);
  std::string command = std::string("VELMORA_DISPLAY=headless '") + VEL_KEYBOARD_TOUR + "' > " + output +
                        " 2>&1 & pid=$!; for i in $(seq 1 300); do grep -q 'tick 3' " + output +
                        " && break; sleep 0.1; done; kill -TERM $pid; wait $pid";
  int status = std::system(command.c_str());
  std::remove(output);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace

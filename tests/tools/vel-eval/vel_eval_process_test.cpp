// Runs the vel-eval program as a process, as a user would from a shell.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace vel::tools {
namespace {

struct Outcome {
  std::string output;
  std::string errors;
  int status = -1;
};

/// Runs `arguments` (already quoted for the shell) with `input` on standard input.
Outcome RunVelEval(const std::string& arguments, const std::string& input = "") {
  std::string base = ::testing::TempDir() + "vel_eval_" + std::to_string(::getpid());
  std::string inputPath = base + ".in";
  std::string errorPath = base + ".err";
  std::ofstream(inputPath) << input;
  std::string command = std::string(VEL_EVAL_PATH) + " " + arguments + " <" + inputPath +
                        " 2>" + errorPath;
  Outcome outcome;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[256];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, count);
  int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream errors(errorPath);
  outcome.errors.assign(std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>());
  std::remove(inputPath.c_str());
  std::remove(errorPath.c_str());
  return outcome;
}

TEST(VelEvalProcess, EvaluatesEachArgument) {
  Outcome outcome = RunVelEval("\"ROUND(1234.567,.01)\" \"FORMAT(1234.5,'@N10.2')\" \"1/3\" \"UPPER('a') & 'b'\"");
  EXPECT_EQ(outcome.output, "1234.57\n  1,234.50\n0.3333333333333333333333333333333\nAb\n");
  EXPECT_EQ(outcome.errors, "");
  EXPECT_EQ(outcome.status, 0);
}

TEST(VelEvalProcess, SpeaksUtf8AtTheTerminalAndTheAnsiCodePageInside) {
  Outcome outcome = RunVelEval("\"LEN('\xC3\xA9')\" \"CHR(128) & CHR(233)\" \"VAL('\xE2\x82\xAC')\"");
  EXPECT_EQ(outcome.output, "1\n\xE2\x82\xAC\xC3\xA9\n128\n");
  EXPECT_EQ(outcome.status, 0);
}

TEST(VelEvalProcess, ReadsLinesWhenGivenNoArgumentsAndGoesOnAfterErrors) {
  Outcome outcome = RunVelEval("", "1+1\r\n\n(2\nnobody\n'x' & 'y'\n");
  EXPECT_EQ(outcome.output, "2\nxy\n");
  EXPECT_EQ(outcome.errors.find("800 Invalid expression for EVALUATE"), 0u) << outcome.errors;
  EXPECT_NE(outcome.errors.find("\n801 No BIND on variable"), std::string::npos) << outcome.errors;
  EXPECT_EQ(outcome.status, 1);
}

}  // namespace
}  // namespace vel::tools

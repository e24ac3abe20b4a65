// Runs the vel-eval program as a process, as a user would from a shell.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/program_run.h"

namespace vel::tools {
namespace {

using Outcome = testing::ProgramOutcome;

/// Runs `arguments` (already quoted for the shell) with `input` on standard input.
Outcome RunVelEval(const std::string& arguments, const std::string& input = "") {
  return testing::RunProgram(VEL_EVAL_PATH, arguments, input);
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

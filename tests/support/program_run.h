#pragma once
// Running one of the project's programs as a user would from a shell, for the tests of tools.

#include <string>

namespace vel::testing {

struct ProgramOutcome {
  std::string output;
  std::string errors;
  int status = -1;  ///< The exit status; -1 when the program did not exit normally.
};

/// Runs `program` with `arguments` (already quoted for the shell) and `input` on standard
/// input; collects standard output, standard error and the exit status.
ProgramOutcome RunProgram(const std::string& program, const std::string& arguments, const std::string& input = "");

}  // namespace vel::testing

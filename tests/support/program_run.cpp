#include "tests/support/program_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace vel::testing {

ProgramOutcome RunProgram(const std::string& program, const std::string& arguments, const std::string& input) {
  static std::atomic<int> runs{0};
  std::string base = ::testing::TempDir() + "program_run_" + std::to_string(::getpid()) + "_" + std::to_string(runs++);
  std::string inputPath = base + ".in";
  std::string errorPath = base + ".err";
  std::ofstream(inputPath) << input;
  std::string command = program + " " + arguments + " <" + inputPath + " 2>" + errorPath;
  ProgramOutcome outcome;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe != nullptr) {
    char buffer[256];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, count);
    int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream errors(errorPath);
    outcome.errors.assign(std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>());
  }
  std::remove(inputPath.c_str());
  std::remove(errorPath.c_str());
  return outcome;
}

}  // namespace vel::testing

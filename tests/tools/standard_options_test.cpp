// --help and --version: the shared answer, and every program of the system giving it.

#include "tools/common/standard_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "runtime/services/runtime_version.h"
#include "tests/support/program_run.h"

namespace vel::tools {
namespace {

constexpr ProgramHelp kSample{"sample", "FILE\n--dump FILE", "Does one thing.\n"};

std::optional<int> Answer(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  return AnswerStandardOption(static_cast<int>(argv.size()), argv.data(), kSample);
}

TEST(StandardOptions, TheReleaseIsTheRuntimesOwnVersion) {
  char expected[32];
  std::snprintf(expected, sizeof expected, "%u.%03u.%02u", services::kRuntimeMajor, services::kRuntimeMinor,
                services::kRuntimeSubRelease);
  EXPECT_EQ(ReleaseText(), expected);
  EXPECT_EQ(VersionLine("sample"), std::string("sample (Velmora runtime ") + expected + ")");
}

TEST(StandardOptions, HelpListsEveryUsageLineTheDescriptionAndTheTwoOptions) {
  const std::string help = HelpText(kSample);
  EXPECT_EQ(help.rfind("usage: sample FILE\n       sample --dump FILE\n\nDoes one thing.\n", 0), 0u) << help;
  EXPECT_NE(help.find("--help"), std::string::npos);
  EXPECT_NE(help.find("--version"), std::string::npos);
  EXPECT_EQ(HelpText(ProgramHelp{"bare", "", "x"}).rfind("usage: bare\n\nx\n", 0), 0u);
}

TEST(StandardOptions, OnlyTheTwoOptionsBeforeADoubleDashAreAnswered) {
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(Answer({"sample", "-o", "x", "--version"}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), VersionLine("sample") + "\n");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(Answer({"sample", "--help", "--version"}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), HelpText(kSample)) << "the first one wins";
  EXPECT_EQ(Answer({"sample"}), std::nullopt);
  EXPECT_EQ(Answer({"sample", "-h", "--helpful", "-version"}), std::nullopt);
  EXPECT_EQ(Answer({"sample", "--", "--help"}), std::nullopt);
}

/// The programs the build made, as "name=path" pairs.
std::vector<std::pair<std::string, std::string>> Programs() {
  std::vector<std::pair<std::string, std::string>> programs;
  std::string list = VEL_PROGRAMS;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find('|', start);
    if (end == std::string::npos) end = list.size();
    const std::string entry = list.substr(start, end - start);
    const size_t equals = entry.find('=');
    programs.emplace_back(entry.substr(0, equals), entry.substr(equals + 1));
    start = end + 1;
  }
  return programs;
}

TEST(StandardOptions, EveryProgramAnswersHelpAndVersionWithoutStartingItsWork) {
  ASSERT_EQ(Programs().size(), 5u);
  for (const auto& [name, path] : Programs()) {
    // Without a display, and with an argument the program would otherwise take as its input:
    // the options are answered before anything else looks at either.
    const std::string quiet = "env -u DISPLAY -u WAYLAND_DISPLAY -u VELMORA_DISPLAY " + path;
    vel::testing::ProgramOutcome version = vel::testing::RunProgram(quiet, "--version");
    EXPECT_EQ(version.status, 0) << name;
    EXPECT_EQ(version.output, VersionLine(name) + "\n") << name;
    EXPECT_EQ(version.errors, "") << name;

    vel::testing::ProgramOutcome help = vel::testing::RunProgram(quiet, "--help");
    EXPECT_EQ(help.status, 0) << name;
    EXPECT_EQ(help.output.rfind("usage: " + name, 0), 0u) << name << ": " << help.output;
    EXPECT_NE(help.output.find("--version"), std::string::npos) << name;
    EXPECT_EQ(help.errors, "") << name;
  }
}

TEST(StandardOptions, AnExpressionThatLooksLikeAnOptionIsEvaluatedAfterADoubleDash) {
  for (const auto& [name, path] : Programs()) {
    if (name != "vel-eval") continue;
    vel::testing::ProgramOutcome outcome = vel::testing::RunProgram(path, "-- \"'--help'\" -1+3");
    EXPECT_EQ(outcome.output, "--help\n2\n");
    EXPECT_EQ(outcome.status, 0);
  }
}

}  // namespace
}  // namespace vel::tools

// Runs the vel-preview program as a process on the headless display, driven by input scripts,
// as a test or a person at a shell would.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::tools {
namespace {

struct Outcome {
  std::vector<std::string> lines;
  std::string errors;
  int status = -1;
};

std::string SourcePath(const std::string& relative) { return std::string(VEL_SOURCE_DIR) + "/" + relative; }

std::string TemporaryPath(const std::string& name) {
  return ::testing::TempDir() + "vel_preview_" + std::to_string(::getpid()) + "_" + name;
}

/// Runs vel-preview with `arguments` (quoted for the shell) while the headless display plays
/// `script`, in a Windows directory of its own.
Outcome RunPreview(const std::string& arguments, const std::string& script = "") {
  std::string errorPath = TemporaryPath("stderr");
  std::string windir = TemporaryPath("windir");
  std::string command = "VELMORA_DISPLAY=headless VELMORA_WINDIR='" + windir + "' VELMORA_HEADLESS_INPUT='" +
                        script + "' " + VEL_PREVIEW_PATH + " " + arguments + " 2>" + errorPath;
  Outcome outcome;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    outcome.lines.push_back(line);
  }
  int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream errors(errorPath);
  outcome.errors.assign(std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>());
  std::remove(errorPath.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(windir, ignored);
  return outcome;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& each : lines) {
    if (each == line) return true;
  }
  return false;
}

std::vector<std::string> Finals(const std::vector<std::string>& lines) {
  std::vector<std::string> finals;
  for (const std::string& line : lines) {
    if (line.rfind("final ", 0) == 0) finals.push_back(line);
  }
  return finals;
}

TEST(VelPreviewProcess, TheSearchWindowLogsOpenWindowFirstAndClosesFromTheKeyboardOrTheWindowMenu) {
  for (const char* script : {"key F4 alt", "key SPACE alt; key C"}) {
    SCOPED_TRACE(script);
    Outcome outcome = RunPreview(SourcePath("app/skarv001.wdc"), script);
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    ASSERT_FALSE(outcome.lines.empty());
    EXPECT_EQ(outcome.lines.front(), "EVENT:OpenWindow");
    EXPECT_TRUE(Contains(outcome.lines, "EVENT:CloseWindow"));
    EXPECT_EQ(Finals(outcome.lines).size(), 5u);
  }
}

// The centre of a field's window on the screen, from a --layout line.
std::string CentreOfField(const std::vector<std::string>& lines, int field) {
  const std::string prefix = "layout field " + std::to_string(field) + " ";
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) != 0) continue;
    char className[64] = {};
    int x = 0, y = 0, width = 0, height = 0;
    if (std::sscanf(line.c_str() + prefix.size(), "%63s %d %d %d %d", className, &x, &y, &width, &height) != 5) break;
    return std::to_string(x + width / 2) + " " + std::to_string(y + height / 2);
  }
  return "0 0";
}

TEST(VelPreviewProcess, TextTypedIntoTheSearchWindowsEntriesReachesTheirVariables) {
  const std::string search = SourcePath("app/skarv001.wdc");
  Outcome layout = RunPreview("--layout " + search, "key F4 alt");
  const std::string searchEntry = CentreOfField(layout.lines, 2);
  const std::string authorEntry = CentreOfField(layout.lines, 7);
  Outcome outcome = RunPreview(search, "click " + searchEntry + "; text comp.lang.c; click " + authorEntry +
                                           "; text Ritchie; key F4 alt");
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_TRUE(Contains(outcome.lines, "EVENT:Accepted field=2"));
  EXPECT_TRUE(Contains(outcome.lines, "  field 2 = \"comp.lang.c\""));
  std::vector<std::string> finals = Finals(outcome.lines);
  EXPECT_TRUE(std::find(finals.begin(), finals.end(), "final field 2 = \"comp.lang.c\"") != finals.end());
  EXPECT_TRUE(std::find(finals.begin(), finals.end(), "final field 7 = \"Ritchie\"") != finals.end());
}

TEST(VelPreviewProcess, ARefusedCloseKeepsTheWindowOpenUntilTheScriptRunsOut) {
  Outcome outcome =
      RunPreview("--refuse CloseWindow " + SourcePath("app/skarv001.wdc"), "key F4 alt; key F4 alt");
  EXPECT_EQ(outcome.status, 3) << "the script ran out while the window was open";
  int refusals = 0;
  for (std::size_t i = 0; i + 1 < outcome.lines.size(); ++i) {
    if (outcome.lines[i] == "EVENT:CloseWindow" && outcome.lines[i + 1] == "  refused") ++refusals;
  }
  EXPECT_EQ(refusals, 2);
  EXPECT_TRUE(Finals(outcome.lines).empty());
}

TEST(VelPreviewProcess, SetValuesAndTheLayoutShowAndACompiledResourceOpensTheSame) {
  std::ifstream in(SourcePath("app/skarv001.wdc"));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::uint8_t> resource = WriteDefinitionResource(ParseDeclarations(text));
  std::string compiled = TemporaryPath("skarv001.vz");
  std::ofstream(compiled, std::ios::binary)
      .write(reinterpret_cast<const char*>(resource.data()), static_cast<std::streamsize>(resource.size()));

  Outcome outcome = RunPreview(
      "--layout --set 2='comp.lang.c' --set 9=list --set 11=100 " + compiled + " 'P1$WINNAME'", "key F4 alt");
  std::remove(compiled.c_str());
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  ASSERT_GE(outcome.lines.size(), 2u);
  EXPECT_EQ(outcome.lines[0], "EVENT:OpenWindow");
  EXPECT_EQ(outcome.lines[1].rfind("layout field 0 VelWin", 0), 0u) << outcome.lines[1];
  EXPECT_EQ(Finals(outcome.lines),
            (std::vector<std::string>{"final field 2 = \"comp.lang.c\"", "final field 7 = \"\"",
                                      "final field 9 = \"list\"", "final field 11 = 100",
                                      "final field 12 = \"\""}));
}

TEST(VelPreviewProcess, BadFilesLabelsAndFieldsExitTwoWithOneLineAndOpenNothing) {
  struct Case {
    std::string arguments;
    std::string error;
  };
  const std::string search = SourcePath("app/skarv001.wdc");
  std::string truncated = TemporaryPath("cut.vz");
  {
    std::ifstream in(search);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::uint8_t> resource = WriteDefinitionResource(ParseDeclarations(text));
    std::ofstream(truncated, std::ios::binary).write(reinterpret_cast<const char*>(resource.data()), 600);
  }
  const Case cases[] = {
      {"/nonexistent.wdc", "vel-preview: /nonexistent.wdc: cannot read it (No such file or directory)\n"},
      {search + " NOSUCH",
       "vel-preview: " + search + ": no window labelled \"NOSUCH\" (its windows: \"P1$WINNAME\")\n"},
      {"--set 3=x " + search,
       "vel-preview: " + search + ": --set 3=x: field 3 has no variable to store it in\n"},
      {"--refuse Nothing " + search, "vel-preview: --refuse Nothing: no such event\n"},
      {truncated, ""},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.arguments);
    Outcome outcome = RunPreview(each.arguments, "key F4 alt");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(outcome.lines.empty()) << "nothing opened";
    if (!each.error.empty()) {
      EXPECT_EQ(outcome.errors, each.error);
    } else {
      EXPECT_EQ(outcome.errors.rfind("vel-preview: " + truncated + ": damaged: ", 0), 0u) << outcome.errors;
      EXPECT_EQ(std::count(outcome.errors.begin(), outcome.errors.end(), '\n'), 1);
    }
  }
  std::remove(truncated.c_str());
}

TEST(VelPreviewProcess, HelpAndVersion) {
  Outcome help = RunPreview("--help");
  EXPECT_EQ(help.status, 0);
  ASSERT_FALSE(help.lines.empty());
  EXPECT_EQ(help.lines[0], "usage: vel-preview [OPTION]... FILE [LABEL]");
  Outcome version = RunPreview("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.lines, (std::vector<std::string>{"vel-preview (Velmora runtime 4.002.00)"}));
  Outcome usage = RunPreview("");
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.errors, "vel-preview: no file given (see vel-preview --help)\n");
}

}  // namespace
}  // namespace vel::tools

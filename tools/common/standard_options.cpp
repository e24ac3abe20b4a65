#include "tools/common/standard_options.h"

#include <cstdio>
#include <cstring>

namespace vel::tools {
namespace {

// The release this source tree builds; the tools tests hold it to the runtime's own version
// numbers, which this library cannot include without the platform headers.
constexpr const char* kRelease = "4.002.00";

constexpr const char* kStandardOptionLines =
    "  --help       print this help and exit\n"
    "  --version    print the program's version and exit\n";

}  // namespace

std::string ReleaseText() { return kRelease; }

std::string VersionLine(std::string_view program) {
  return std::string(program) + " (Velmora runtime " + kRelease + ")";
}

std::string HelpText(const ProgramHelp& help) {
  std::string text;
  std::string_view usage = help.usage;
  const char* lead = "usage: ";
  // One line per way of calling the program; a program called without arguments has one
  // empty usage line.
  while (true) {
    const size_t end = usage.find('\n');
    const std::string_view line = usage.substr(0, end);
    text += lead;
    text += help.name;
    if (!line.empty()) text += " " + std::string(line);
    text += "\n";
    if (end == std::string_view::npos) break;
    lead = "       ";
    usage = usage.substr(end + 1);
  }
  text += "\n";
  text += help.description;
  if (!help.description.empty() && help.description.back() != '\n') text += "\n";
  text += "\nOptions every program of the system answers:\n";
  text += kStandardOptionLines;
  return text;
}

std::optional<int> AnswerStandardOption(int argc, char** argv, const ProgramHelp& help) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) break;
    std::string text;
    if (std::strcmp(argv[i], "--help") == 0) {
      text = HelpText(help);
    } else if (std::strcmp(argv[i], "--version") == 0) {
      text = VersionLine(help.name) + "\n";
    } else {
      continue;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return 0;
  }
  return std::nullopt;
}

}  // namespace vel::tools

#pragma once
// The two options every program of the system answers the same way: --help prints what the
// program does and how it is called, --version prints its name and the runtime release it
// belongs to. Each program states its own text; the answering is shared.

#include <optional>
#include <string>
#include <string_view>

namespace vel::tools {

/// What --help says about a program.
struct ProgramHelp {
  /// The program's name as the user types it ("vel-eval").
  std::string_view name;
  /// One line per way of calling it, without the program name ("EXPR...").
  std::string_view usage;
  /// What it does and what its options mean, as whole lines.
  std::string_view description;
};

/// The runtime release every program of the system carries, "4.002.00".
std::string ReleaseText();

/// "NAME (Velmora runtime 4.002.00)": what --version prints.
std::string VersionLine(std::string_view program);

/// The help text: "usage: NAME ..." lines, the description, and the two standard options.
std::string HelpText(const ProgramHelp& help);

/// Looks through the arguments after the program name, up to a "--" that ends the options, for
/// --help or --version. When it finds one it prints the answer on standard output and returns
/// the exit status 0 for the caller to end with (the first of the two wins); otherwise nothing.
std::optional<int> AnswerStandardOption(int argc, char** argv, const ProgramHelp& help);

}  // namespace vel::tools

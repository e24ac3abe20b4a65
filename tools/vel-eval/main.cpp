// vel-eval: evaluates each argument as one expression, or each line of standard input when there
// are no arguments, and prints each result on a line of its own. A failed expression prints its
// error code and text on standard error; the others still run, and the exit status is then 1.

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "runtime/services/error_messages.h"
#include "runtime/values/evaluate_expression.h"
#include "tools/common/standard_options.h"
#include "tools/vel-eval/console_text.h"

namespace vel::tools {

namespace {

/// Evaluates one expression and reports it; returns false when it failed.
bool EvaluateOne(std::string_view expression) {
  values::EvaluationResult result = values::EvaluateText(Utf8ToAnsi(expression));
  if (result.errorCode != 0) {
    std::fprintf(stderr, "%d %s: %s (at offset %zu)\n", result.errorCode,
                 services::ErrorMessageText(result.errorCode).c_str(), result.problem.c_str(),
                 result.position);
    return false;
  }
  std::string text = AnsiToUtf8(values::ResultText(result));
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  return true;
}

bool IsBlankLine(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
}

constexpr ProgramHelp kHelp{
    "vel-eval", "EXPR...\n< FILE",
    "Evaluates each argument as one expression, or each line of standard input when there are\n"
    "no arguments, and prints each result on a line of its own. A failed expression prints its\n"
    "error code and text on standard error, the others still run, and the exit status is 1.\n"
    "An expression that is exactly --help or --version is written after \"--\".\n"};

int Run(int argc, char** argv) {
  if (std::optional<int> answered = AnswerStandardOption(argc, argv, kHelp)) return *answered;
  // "--" only ends the options; everything after it is an expression.
  int first = 1;
  if (argc > 1 && std::string_view(argv[1]) == "--") first = 2;
  bool allGood = true;
  if (argc > first) {
    for (int i = first; i < argc; ++i) allGood = EvaluateOne(argv[i]) && allGood;
  } else {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      // Blank lines separate groups of expressions in a file; they are not expressions.
      if (IsBlankLine(line)) continue;
      allGood = EvaluateOne(line) && allGood;
    }
  }
  std::fflush(stdout);
  return allGood ? 0 : 1;
}

}  // namespace

}  // namespace vel::tools

int main(int argc, char** argv) { return vel::tools::Run(argc, argv); }

#include "runtime/services/diagnostics_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vel::services {
namespace {

TEST(DiagnosticsTable, LooksNumbersUpAndFallsBackToTheLastRow) {
  EXPECT_STREQ(DiagnosticFormat(1), "Out of free space");
  EXPECT_STREQ(DiagnosticFormat(54), "unget() from stream when last op was write");
  EXPECT_STREQ(DiagnosticFormat(80), "Pure virtual function called");
  EXPECT_STREQ(DiagnosticFormat(12), "Unknown Error");
  EXPECT_STREQ(DiagnosticFormat(-1), "Unknown Error");
  EXPECT_STREQ(DiagnosticFormat(100000), "Unknown Error");
  const auto table = DiagnosticTable();
  ASSERT_EQ(table.size(), 31u);
  EXPECT_EQ(table.back().number, kUnknownDiagnostic);
  EXPECT_EQ(table[13].number, 54);  // the table keeps its own order, not the numbers'
  EXPECT_EQ(FormatDiagnostic(0).size(), 111u);
}

TEST(DiagnosticsTable, FormatsTypedArguments) {
  EXPECT_EQ(FormatDiagnostic(10, {1024L, 3}), "memory leak 1024 bytes (3 allocs)");
  EXPECT_EQ(FormatDiagnostic(10, {-5, 0}), "memory leak -5 bytes (0 allocs)");
  EXPECT_EQ(FormatDiagnostic(81, {"ROUND"}), "Unimplemented function ROUND");
  EXPECT_EQ(FormatDiagnostic(1, {"ignored", 7}), "Out of free space");
}

TEST(DiagnosticsTable, ArgumentsNeverRunPastWhatWasGiven) {
  // Too few arguments, or arguments of the other kind, never read anything else.
  EXPECT_EQ(FormatDiagnostic(10, {12}), "memory leak 12 bytes ((missing) allocs)");
  EXPECT_EQ(FormatDiagnostic(81), "Unimplemented function (missing)");
  EXPECT_EQ(FormatDiagnostic(81, {42}), "Unimplemented function 42");
  EXPECT_EQ(FormatDiagnostic(10, {"many", "few"}), "memory leak many bytes (few allocs)");
  EXPECT_EQ(FormatDiagnostic(81, {static_cast<const char*>(nullptr)}), "Unimplemented function (null)");
}

TEST(DiagnosticsTable, FormattedTextFitsTwoHundredBytes) {
  const std::string longName(500, 'N');
  const std::string text = FormatDiagnostic(81, {longName});
  ASSERT_EQ(text.size(), kDiagnosticTextSize - 1);
  EXPECT_EQ(text.substr(0, 23), "Unimplemented function ");
  EXPECT_EQ(text.back(), 'N');
}

TEST(DiagnosticsTable, FormatterKeepsWhatItDoesNotConvert) {
  const std::vector<DiagnosticArgument> arguments{255, "x"};
  EXPECT_EQ(FormatDiagnosticText("100%% %x %q %s %", arguments), "100% ff %q x %");
  EXPECT_EQ(FormatDiagnosticText("%lld|%hd|%lu", std::vector<DiagnosticArgument>{1, 2, 3}), "1|2|3");
  EXPECT_EQ(FormatDiagnosticText("", arguments), "");
}

}  // namespace
}  // namespace vel::services

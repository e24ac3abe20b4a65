// A library's table is loaded at its first use and kept for the process; a library that cannot
// be used is reported once, naming it, and a withheld table is missing until it is given back.

#include "platform/kernel/lazy_library_table.h"

#include <gtest/gtest.h>

#include <string>

namespace vel::platform {
namespace {

struct MathTable {
  double (*cosine)(double) = nullptr;
  double (*squareRoot)(double) = nullptr;
};

void ResolveMath(LazyLibrary& library, MathTable& table) {
  library.Resolve("cos", table.cosine);
  library.Resolve("sqrt", table.squareRoot);
}

// A table whose second function no maths library has.
void ResolveMathAndMore(LazyLibrary& library, MathTable& table) {
  library.Resolve("cos", table.cosine);
  library.Resolve("vel_no_such_function", table.squareRoot);
}

int g_loadedCalls = 0;
void CountLoad(const MathTable& table) {
  if (table.cosine != nullptr) ++g_loadedCalls;
}

TEST(LazyLibraryTable, FillsOnlyFromALibraryWithEveryFunction) {
  MathTable table;
  std::string whyNot;
  ASSERT_TRUE(LoadLibraryTable("libm.so.6", ResolveMath, table, whyNot)) << whyNot;
  EXPECT_TRUE(whyNot.empty());
  EXPECT_EQ(table.squareRoot(9.0), 3.0);

  EXPECT_FALSE(LoadLibraryTable("libm.so.6", ResolveMathAndMore, table, whyNot));
  EXPECT_EQ(whyNot, "it has no vel_no_such_function");
  EXPECT_EQ(table.cosine, nullptr) << "a table is filled completely or not at all";

  EXPECT_FALSE(LoadLibraryTable("libvel-no-such-library.so.4", ResolveMath, table, whyNot));
  EXPECT_NE(whyNot.find("libvel-no-such-library.so.4"), std::string::npos) << whyNot;
  EXPECT_EQ(table.cosine, nullptr);
}

TEST(LazyLibraryTable, LoadsOnceAndCanBeWithheld) {
  g_loadedCalls = 0;
  LazyLibraryTable<MathTable> library({"libm.so.6", ResolveMath, "maths: the library", "nothing adds up", CountLoad});
  testing::internal::CaptureStderr();
  const MathTable* first = library.Get();
  const MathTable* again = library.Get();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, again);
  EXPECT_EQ(first->squareRoot(16.0), 4.0);
  EXPECT_EQ(g_loadedCalls, 1);

  library.Withhold(true);
  EXPECT_EQ(library.Get(), nullptr);
  library.Withhold(false);
  EXPECT_EQ(library.Get(), first);
  EXPECT_EQ(g_loadedCalls, 1);
}

TEST(LazyLibraryTable, AnUnusableLibraryIsReportedOnceInOneLine) {
  g_loadedCalls = 0;
  LazyLibraryTable<MathTable> missing(
      {"libvel-no-such-library.so.4", ResolveMath, "maths: the library", "nothing adds up", CountLoad});
  testing::internal::CaptureStderr();
  EXPECT_EQ(missing.Get(), nullptr);
  EXPECT_EQ(missing.Get(), nullptr);
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_EQ(report.rfind("maths: the library libvel-no-such-library.so.4 is not usable (", 0), 0u) << report;
  EXPECT_EQ(report.substr(report.size() - 19), "); nothing adds up\n") << report;
  EXPECT_EQ(report.find('\n'), report.size() - 1) << "one line, once: " << report;

  LazyLibraryTable<MathTable> incomplete({"libm.so.6", ResolveMathAndMore, "maths:", "nothing adds up", CountLoad});
  testing::internal::CaptureStderr();
  EXPECT_EQ(incomplete.Get(), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "maths: libm.so.6 is not usable (it has no vel_no_such_function); nothing adds up\n");
  EXPECT_EQ(g_loadedCalls, 0);
}

}  // namespace
}  // namespace vel::platform

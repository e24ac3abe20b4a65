// The query launcher hands the clipped, cut address to the desktop's opener as one argument,
// and leaves a trace log line when the desktop cannot open it.

#include "runtime/services/query_launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/values/string_stack.h"
#include "tests/runtime/services/trace_dir_fixture.h"
#include "tests/support/stand_in_opener.h"

namespace vel::services {
namespace {

using vel::testing::StandInOpener;
using Arguments = std::vector<std::string>;

class QueryLauncher : public testing::TraceDirTest {
 protected:
  /// Launches `address` as the search window does: pushed as a variable's bytes.
  static void Launch(const std::string& address) {
    values::PushString(address.data(), static_cast<std::uint32_t>(address.size()));
    LaunchQuery(nullptr);
  }
};

TEST_F(QueryLauncher, TheAddressReachesTheOpenerClippedAndCutToItsLimit) {
  StandInOpener opener;
  const std::string query = "http://archive.invalid/skquery.xp?QRY=foo bar&DBS=1";
  Launch(query + "     ");
  EXPECT_EQ(opener.NextArguments(), Arguments{query}) << "trailing spaces go";

  const std::string longAddress = "http://archive.invalid/" + std::string(300 - 23, 'x');
  Launch(longAddress);
  EXPECT_EQ(opener.NextArguments(), Arguments{longAddress.substr(0, kLaunchAddressLimit)});

  // Leading spaces are the user's and stay; the stack is left as it was found.
  const std::uint32_t depth = values::CurrentStringStack().Count();
  Launch("http://archive.invalid/?QRY=  a");
  EXPECT_EQ(opener.NextArguments(), Arguments{"http://archive.invalid/?QRY=  a"});
  EXPECT_EQ(values::CurrentStringStack().Count(), depth);
  EXPECT_EQ(TraceLog(), "") << "a launch the desktop took leaves no trace";
}

TEST_F(QueryLauncher, AHostileAddressIsOneArgumentAndRunsNothing) {
  StandInOpener opener;
  const std::string canary = (opener.Folder() / "canary").string();
  const std::string hostile = "http://archive.invalid/?QRY=$(touch " + canary + ")`touch " + canary +
                              "`;touch " + canary + "&x=1 | touch " + canary + " --help";
  Launch(hostile);
  EXPECT_EQ(opener.NextArguments(), Arguments{hostile});
  EXPECT_FALSE(std::filesystem::exists(canary));
}

TEST_F(QueryLauncher, AnEmptyAddressReachesTheShellEmptyAndLeavesOneTraceLine) {
  StandInOpener opener;
  Launch("          ");
  EXPECT_FALSE(opener.HasRecord()) << "the shell opens nothing for an empty address";
  EXPECT_EQ(TraceLines(), std::vector<std::string>{"Query launch failed (shell error 2): \r\n"});
}

TEST_F(QueryLauncher, ADesktopWithoutAnOpenerIsNamedInTheTraceLog) {
  const char* oldPath = std::getenv("PATH");
  const std::string saved = oldPath != nullptr ? oldPath : "";
  setenv("PATH", m_dir.c_str(), 1);
  Launch("http://archive.invalid/skquery.xp?QRY=x");
  setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(TraceLines(),
            std::vector<std::string>{"Query launch failed (shell error 31): http://archive.invalid/skquery.xp?QRY=x\r\n"});
}

}  // namespace
}  // namespace vel::services

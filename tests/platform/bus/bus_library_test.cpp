// The session bus library is opened at the first use of the bus, not linked: the table fills
// only from a library with every function, and without the library there is simply no bus.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/bus/bus_connection.h"
#include "platform/bus/bus_library.h"
#include "tests/support/session_bus.h"

namespace vel::platform::bus {
namespace {

[[maybe_unused]] const bool g_privateBus = vel::testing::UsePrivateSessionBus();

TEST(SessionBusLibrary, LoadsOnlyALibraryWithEveryFunction) {
  BusLibrary table;
  std::string whyNot;
  ASSERT_TRUE(LoadBusLibrary(kBusLibraryName, table, whyNot)) << whyNot;
  EXPECT_TRUE(whyNot.empty());
  EXPECT_NE(table.openUser, nullptr);
  EXPECT_NE(table.replyMethodErrorf, nullptr);
  ASSERT_NE(table.objectVtableFormat, nullptr);
  ASSERT_NE(SessionBusLibrary(), nullptr);
  EXPECT_EQ(SessionBusLibrary()->messageRead, table.messageRead);

  EXPECT_FALSE(LoadBusLibrary("libvel-no-such-bus.so.3", table, whyNot));
  EXPECT_NE(whyNot.find("libvel-no-such-bus.so.3"), std::string::npos) << whyNot;
  EXPECT_EQ(table.openUser, nullptr);
  // A library that opens but is not the bus library is refused, naming what it lacks.
  EXPECT_FALSE(LoadBusLibrary("libm.so.6", table, whyNot));
  EXPECT_EQ(whyNot, "it has no sd_bus_open_user");
  EXPECT_EQ(table.messageUnref, nullptr);
  EXPECT_EQ(table.objectVtableFormat, nullptr);
}

// Nothing arrives for these connections: no other program knows them.
class NoEvents final : public BusEvents {
 public:
  void Delivered(const std::string&, Delivery, CallToken) override {}
  bool IsOwnWindow(std::uint64_t) override { return false; }
  std::vector<TopLevelInfo> OwnTopLevels() override { return {}; }
  void Released(const std::string&, std::uint64_t) override {}
  void Settled(const std::string&, std::uint64_t) override {}
  void ChildSettled(std::uint64_t) override {}
  void PeerVanished(const std::string&) override {}
};

// Without the library there is no connection, as without a session bus, and the reason names
// the library; with it back the same session bus takes a connection again.
TEST(SessionBusLibrary, WithoutItThereIsNoConnectionAndNoFault) {
  NoEvents events;
  std::string failure;
  WithholdSessionBusLibrary(true);
  EXPECT_EQ(BusConnection::Open(events, failure), nullptr);
  WithholdSessionBusLibrary(false);
  EXPECT_NE(failure.find(kBusLibraryName), std::string::npos) << failure;

  failure.clear();
  std::unique_ptr<BusConnection> connection = BusConnection::Open(events, failure);
  if (connection == nullptr) GTEST_SKIP() << "no message bus daemon to start: " << failure;
  EXPECT_EQ(connection->UniqueName().front(), ':');
  EXPECT_EQ(ProcessOfProgramName(connection->WellKnownName()), static_cast<std::uint64_t>(getpid()));
}

}  // namespace
}  // namespace vel::platform::bus

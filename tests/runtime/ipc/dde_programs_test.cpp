// Two runtime programs in a DDE conversation over a private session bus: this test program as
// client, dde_peer as server. The virtual clock waits for the peer's answers by itself.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/user/foreign_windows.h"
#include "runtime/ipc/dde_procedures.h"
#include "runtime/services/error_state.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/event_codes.h"
#include "tests/runtime/ipc/ipc_harness.h"
#include "tests/support/session_bus.h"

namespace vel::ipc {
namespace {

using vel::testing::ChildProgram;

[[maybe_unused]] const bool g_privateBus = vel::testing::UsePrivateSessionBus();

std::string Pop() {
  values::StringView top = values::TopView();
  std::string text(top.data, top.length);
  values::DropTop();
  return text;
}

class DdeBetweenPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    if (platform::CurrentForeignWindows() == nullptr) GTEST_SKIP() << "no message bus daemon to start";
    m_harness.Open(m_window, "Client");
    ASSERT_EQ(testing::NextEvent(m_window), testing::Number(windows::EVENT_OpenWindow));
    m_peer = std::make_unique<ChildProgram>(VEL_DDE_PEER, std::vector<std::string>{});
    ASSERT_EQ(m_peer->ReadLine(), "ready");
  }

  std::int32_t Open() {
    values::PushCString("Prices");
    values::PushCString("Today");
    return DDECLIENT();
  }

  testing::RuntimeHarness m_harness;
  windows::ProcedureWindow m_window;
  std::unique_ptr<ChildProgram> m_peer;
};

TEST_F(DdeBetweenPrograms, TwoRuntimeProgramsHoldAConversation) {
  std::int32_t channel = Open();
  ASSERT_NE(channel, 0);
  DWORD before = GetTickCount();
  values::PushCString("[recalc]");
  DDEEXECUTE(channel);
  EXPECT_EQ(services::ERRORCODE(), 0);
  EXPECT_EQ(m_peer->ReadLine(), "execute [recalc]");
  values::PushCString("bad command");
  DDEEXECUTE(channel);
  EXPECT_EQ(services::ERRORCODE(), 603);
  EXPECT_EQ(m_peer->ReadLine(), "execute bad command");
  services::ClearError();
  values::PushCString("Total");
  values::PushCString("118.25");
  DDEPOKE(channel);
  EXPECT_EQ(services::ERRORCODE(), 0);
  EXPECT_EQ(m_peer->ReadLine(), "poke Total=118.25");
  values::PushCString("Total");
  DDEREAD(channel);
  EXPECT_EQ(Pop(), "118.25");
  EXPECT_LT(GetTickCount() - before, 5000u) << "no wait ran out on the virtual clock";
  DDECLOSE(channel);
  EXPECT_EQ(services::ERRORCODE(), 0);
  EXPECT_EQ(m_peer->ReadLine(), "closed");
}

TEST_F(DdeBetweenPrograms, APeerKilledMidConversationClosesTheChannel) {
  std::int32_t channel = Open();
  ASSERT_NE(channel, 0);
  m_peer->Kill();
  values::PushCString("[recalc]");
  DDEEXECUTE(channel);
  EXPECT_EQ(services::ERRORCODE(), 602) << "the post fails: the channel is closed";
  values::PushCString("Total");
  DDEREAD(channel);
  EXPECT_EQ(Pop(), "");
  EXPECT_EQ(services::ERRORCODE(), 602);
}

}  // namespace
}  // namespace vel::ipc

// A procedure as DDE client of a partner on another thread of the test program. The partner
// answers in real time, so the tests that expect answers hold the virtual clock still; the
// time-out is measured on it.

#include "runtime/ipc/dde_client.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/display/headless/headless_display.h"
#include "runtime/ipc/dde_procedures.h"
#include "runtime/services/error_state.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/event_codes.h"
#include "tests/runtime/ipc/ipc_harness.h"
#include "tests/support/dde_test_partner.h"

namespace vel::ipc {
namespace {

using vel::testing::PartnerMode;

std::string Pop() {
  values::StringView top = values::TopView();
  std::string text(top.data, top.length);
  values::DropTop();
  return text;
}

// The partner's thread: it runs until its window is destroyed.
class PartnerThread {
 public:
  explicit PartnerThread(PartnerMode mode) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread([this, mode, ready] {
      m_window = vel::testing::CreateDdePartner(mode);
      SetEvent(ready);
      vel::testing::RunDdePartner();
    });
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
  }
  HWND Window() const { return m_window; }
  ~PartnerThread() {
    PostMessageA(m_window, WM_CLOSE, 0, 0);
    m_thread.join();
  }

 private:
  std::thread m_thread;
  HWND m_window = nullptr;
};

class DdeClient : public ::testing::Test {
 protected:
  void SetUp() override {
    m_harness.Open(m_window, "Client");
    ASSERT_EQ(testing::NextEvent(m_window), testing::Number(windows::EVENT_OpenWindow));
    SetDdeTimeout(0);
  }
  void TearDown() override {
    if (auto* headless = platform::CurrentHeadlessDisplay()) headless->Clock().SetManual(false);
  }

  // Answers come in real time; the virtual clock must not run out meanwhile.
  void HoldClock() {
    if (auto* headless = platform::CurrentHeadlessDisplay()) headless->Clock().SetManual(true);
  }

  std::int32_t Open(const char* application, const char* topic) {
    values::PushCString(application);
    values::PushCString(topic);
    return DDECLIENT();
  }

  testing::RuntimeHarness m_harness;
  windows::ProcedureWindow m_window;
};

TEST_F(DdeClient, ExecutePokeReadAndCloseWithAnAnsweringPartner) {
  PartnerThread partner(PartnerMode::kAnswering);
  HoldClock();
  EXPECT_EQ(Open("Nobody", "Test"), 0);
  EXPECT_EQ(services::ERRORCODE(), 602);
  std::int32_t channel = Open("Partner", "Test");
  ASSERT_NE(channel, 0);
  services::ClearError();

  values::PushCString("[open]");
  DDEEXECUTE(channel);
  EXPECT_EQ(services::ERRORCODE(), 0);
  values::PushCString("fail this");
  DDEEXECUTE(channel);
  EXPECT_EQ(services::ERRORCODE(), 603);
  services::ClearError();

  values::PushCString("Total");
  values::PushCString("42");
  DDEPOKE(channel);
  EXPECT_EQ(services::ERRORCODE(), 0);
  values::PushCString("Total");
  DDEREAD(channel);
  EXPECT_EQ(Pop(), "42");
  values::PushCString("Missing");
  DDEREAD(channel);
  EXPECT_EQ(Pop(), "") << "a refused request reads as empty";
  values::PushCString("log");
  DDEREAD(channel);
  EXPECT_EQ(Pop(), "initiate Partner|Test;execute [open];execute fail this;poke Total=42;");

  DDECLOSE(channel);
  EXPECT_EQ(services::ERRORCODE(), 0);
  values::PushCString("[again]");
  DDEEXECUTE(channel);
  EXPECT_EQ(services::ERRORCODE(), 601) << "a closed channel's number names nothing";
  EXPECT_EQ(GlobalFindAtomA("Total"), 0);
}

TEST_F(DdeClient, APartnerThatNeverAnswersTimesOutOnThePlatformClock) {
  {
    PartnerThread partner(PartnerMode::kDeaf);
    std::int32_t channel = Open("Partner", "Test");
    ASSERT_NE(channel, 0);
    DDETIMEOUT(2500);
    DWORD before = GetTickCount();
    values::PushCString("[open]");
    DDEEXECUTE(channel);
    EXPECT_EQ(services::ERRORCODE(), 605);
    EXPECT_EQ(GetTickCount() - before, 2500u) << "the wait costs its time-out on the virtual clock, no more";
    values::PushCString("Total");
    DDEREAD(channel);
    EXPECT_EQ(Pop(), "");
    EXPECT_EQ(services::ERRORCODE(), 605);
  }
  // The request's atom passed to the partner with the post; the client kept no copy of it.
  EXPECT_EQ(GlobalFindAtomA("Total"), 0);
}

TEST_F(DdeClient, DataFromTheServerOutsideAnyWaitIsAnEvent) {
  PartnerThread partner(PartnerMode::kAnswering);
  HoldClock();
  std::int32_t channel = Open("Partner", "Test");
  ASSERT_NE(channel, 0);
  // An advise, posted as a plain DDE client would; the partner acknowledges and sends an update.
  HGLOBAL options = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(DDEADVISE));
  PostMessageA(partner.Window(), WM_DDE_ADVISE, reinterpret_cast<WPARAM>(m_window.Handle()),
               PackDDElParam(WM_DDE_ADVISE, reinterpret_cast<UINT_PTR>(options), GlobalAddAtomA("Total")));
  std::int32_t event = testing::NextEvent(m_window);
  ASSERT_EQ(event, testing::Number(windows::EVENT_DDEdata));
  EXPECT_EQ(DDECHANNEL(), channel);
  DDEITEM();
  EXPECT_EQ(Pop(), "Total");
  DDEVALUE();
  EXPECT_EQ(Pop(), "advised");
}

}  // namespace
}  // namespace vel::ipc

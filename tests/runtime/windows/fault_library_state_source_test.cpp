// What the fault report learns about the faulting thread's window: asked here directly, on a
// real window of the headless display, instead of inside a fault.

#include "runtime/windows/fault_library_state_source.h"

#include <gtest/gtest.h>

#include "runtime/services/module_descriptor.h"
#include "runtime/windows/thread_services.h"
#include "runtime/windows/window_object.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kFieldWindows[] =
    "definition \"test$FAULTSTATE\"\n"
    "window \"W1\" title(\"Fields\") at(10, 10, 200, 100)\n"
    "  button \"One\" at(2, 2, 40, 12)\n"
    "  button \"Two\" at(2, 20, 40, 12)\n"
    "  entry use(FixedString, 20) at(50, 2, 60, 12)\n"
    "end\n";

class FaultLibraryStateSource : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    AddDefinitions("test$FAULTSTATE", kFieldWindows);
  }
  void TearDown() override {
    if (m_window.IsOpen()) m_window.Close();
    WindowTest::TearDown();
  }

  char m_text[20] = {};
  ProcedureWindow m_window;
};

TEST_F(FaultLibraryStateSource, DescribesTheCurrentEventAndTheWindowsFields) {
  services::FaultLibraryState before;
  FillFaultLibraryState(before);
  EXPECT_EQ(before.event, 0u);
  EXPECT_EQ(before.field.number, 0);
  EXPECT_EQ(before.lastField.number, 0);

  m_window.Open("test$FAULTSTATE", "W1", {&m_text});
  ASSERT_TRUE(m_window.IsOpen());
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  m_window.Post(Number(EVENT_Accepted), 2);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Accepted));

  services::FaultLibraryState state;
  FillFaultLibraryState(state);
  EXPECT_EQ(state.event, static_cast<std::uint32_t>(EVENT_Accepted));
  EXPECT_EQ(state.field.number, 2);
  EXPECT_EQ(state.accepted.number, 2);
  EXPECT_EQ(state.firstField.number, 1);
  EXPECT_EQ(state.lastField.number, 3);
  EXPECT_EQ(state.field.name, nullptr);
  ASSERT_NE(m_window.Object().ControlOfField(3), nullptr);
  EXPECT_EQ(m_window.Object().ControlOfField(4), nullptr);

  // Another event about the same field is no longer an accepted one.
  m_window.Post(Number(EVENT_Notify));
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  FillFaultLibraryState(state = {});
  EXPECT_EQ(state.event, static_cast<std::uint32_t>(EVENT_Notify));
  EXPECT_EQ(state.accepted.number, 0);

  // The window manager's service routine is what hands the source to the fault reporter.
  OpenWindowListService(services::kInitialiseCall);
  EXPECT_EQ(services::GatherFaultLibraryState().event, static_cast<std::uint32_t>(EVENT_Notify));
  OpenWindowListService(services::kTerminateCall);
  EXPECT_EQ(services::GatherFaultLibraryState().event, 0u);
}

}  // namespace
}  // namespace vel::windows::testing

// Standard actions: the help requests they make, the edit commands for the control that last
// had the focus, closing, and the print setup hook.

#include "runtime/windows/standard_actions.h"

#include <gtest/gtest.h>

#include "runtime/windows/help_requests.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

TEST(HelpRequests, FollowTheKeywordForms) {
  using Requests = std::vector<HelpRequest>;
  EXPECT_EQ(HelpRequestsForKeyword("", "Printing"), Requests{}) << "no help file, no help";
  EXPECT_EQ(HelpRequestsForKeyword("APP.HLP", ""), (Requests{{"APP.HLP", HELP_FORCEFILE, ""}}));
  EXPECT_EQ(HelpRequestsForKeyword("APP.HLP", "Printing"), (Requests{{"APP.HLP", HELP_KEY, "Printing"}}));
  EXPECT_EQ(HelpRequestsForKeyword("", "OTHER.HLP@@Zoom"), (Requests{{"OTHER.HLP", HELP_KEY, "Zoom"}}));
  EXPECT_EQ(HelpRequestsForKeyword("C:\\HELP\\APP.HLP", "~PRINT_TOPIC"),
            (Requests{{"C:\\HELP\\APP.HLP", HELP_FORCEFILE, ""},
                      {"C:\\HELP\\APP.HLP", HELP_COMMAND, "JI(\"C:\\HELP\\APP.HLP\",\"PRINT_TOPIC\")"}}));
}

const char kActionWindow[] =
    "definition \"test$ACTIONS\"\n"
    "window \"W\" title(\"Actions\") flags(pixel) at(10, 10, 300, 200) help(\"Window help\")\n"
    "  button \"One\" at(10, 10, 80, 24)\n"
    "end\n";

HWND g_printSetupFor = nullptr;
void RecordPrintSetup(HWND owner) { g_printSetupFor = owner; }

class StandardActions : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    UseRecordingControls();
    AddDefinitions("test$ACTIONS", kActionWindow);
    m_window.Open("test$ACTIONS", "W");
    ASSERT_TRUE(m_window.IsOpen());
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  }
  void TearDown() override {
    RememberLastFocusWindow(nullptr);
    SetPrintSetupHook(nullptr);
    WindowTest::TearDown();
  }
  ProcedureWindow m_window;
};

TEST_F(StandardActions, EditActionsGoToTheRuntimeControlThatLastHadTheFocus) {
  RecordingControl& control = *RecordingControlOf(m_window, 1);
  RememberLastFocusWindow(control.Handle());
  for (std::int32_t action : {kActionCut, kActionCopy, kActionPaste, kActionClear, kActionUndo}) {
    CarryOutStandardAction(m_window.Object(), action);
  }
  EXPECT_EQ(control.editMessages, (std::vector<UINT>{WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, WM_UNDO}));

  // A window that is not a runtime control, or one that is gone, is left alone.
  HWND plain = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, m_window.Object().client, nullptr,
                               nullptr, nullptr);
  RememberLastFocusWindow(plain);
  CarryOutStandardAction(m_window.Object(), kActionPaste);
  DestroyWindow(plain);
  CarryOutStandardAction(m_window.Object(), kActionPaste);
  EXPECT_EQ(control.editMessages.size(), 5u);
}

TEST_F(StandardActions, CloseAsksTheWindowToCloseAndPrintSetupCallsItsHook) {
  CarryOutStandardAction(m_window.Object(), kActionPrintSetup);
  EXPECT_EQ(g_printSetupFor, nullptr) << "no printing installed: nothing happens";
  SetPrintSetupHook(RecordPrintSetup);
  CarryOutStandardAction(m_window.Object(), kActionPrintSetup);
  EXPECT_EQ(g_printSetupFor, m_window.Object().handle);
  // The arrangements need an application frame, which never exists: nothing happens.
  CarryOutStandardAction(m_window.Object(), kActionCascade);
  CarryOutStandardAction(m_window.Object(), kActionClose);
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(m_window), -1);
  m_window.Close();
  EXPECT_TRUE(IsStandardAction(0x12));
  EXPECT_FALSE(IsStandardAction(0x09));
  EXPECT_FALSE(IsStandardAction(0x13));
}

}  // namespace
}  // namespace vel::windows::testing

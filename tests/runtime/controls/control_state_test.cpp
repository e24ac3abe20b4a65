// Enabled and shown state inherited from containers, the focus and its notifications, field
// events, and the errors of binding variables.

#include <gtest/gtest.h>

#include "runtime/controls/control_factory.h"
#include "runtime/controls/entry_control.h"
#include "runtime/services/runtime_running.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object_fields.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

const char kOptionWindow[] = R"(window "W" at(0, 0, 200, 100)
  entry use(FixedString, 4) at(2, 2, 40, 10)
  option use(FixedString, 4) at(2, 20, 100, 30) attributes(boxed)
    radio "A" at(6, 30, 30, 10)
    radio "B" at(40, 30, 30, 10)
  end
  entry use(FixedString, 4) at(2, 60, 40, 10) attributes(skip)
end
)";

class ControlState : public ControlTest {
 protected:
  void OpenOptions(ProcedureWindow& window) {
    Open(window, kOptionWindow, {m_first, m_choice, m_last});
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }
  char m_first[4] = {'o', 'n', 'e', ' '};
  char m_choice[4] = {'B', ' ', ' ', ' '};
  char m_last[4] = {'l', 'a', 's', 't'};
};

TEST_F(ControlState, ABoxesDisabledAndHiddenStateReachItsControlsWithoutTheirOwnBits) {
  ProcedureWindow window;
  OpenOptions(window);
  WindowedControl* option = Control(window, 2);
  WindowedControl* radio = Control(window, 3);
  option->EnableOrDisable(false);
  EXPECT_TRUE(radio->EffectivelyDisabled());
  EXPECT_FALSE(radio->HasAttribute(kAttrDisabled));
  EXPECT_FALSE(IsWindowEnabled(radio->Handle()));
  EXPECT_FALSE(IsWindowEnabled(Control(window, 4)->Handle()));
  option->EnableOrDisable(true);
  EXPECT_TRUE(IsWindowEnabled(radio->Handle()));
  // A radio button disabled on its own stays so when its box is enabled again.
  radio->EnableOrDisable(false);
  option->EnableOrDisable(false);
  option->EnableOrDisable(true);
  EXPECT_FALSE(IsWindowEnabled(radio->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Control(window, 4)->Handle()));

  option->ShowOrHide(false);
  EXPECT_FALSE(IsWindowVisible(radio->Handle()));
  EXPECT_TRUE(radio->EffectivelyHidden());
  EXPECT_FALSE(radio->HasAttribute(kAttrHidden));
  option->ShowOrHide(true);
  EXPECT_TRUE(IsWindowVisible(radio->Handle()));
}

TEST_F(ControlState, DisablingTheFocusedControlMovesTheFocusOnOrToTheWindow) {
  ProcedureWindow window;
  OpenOptions(window);
  WindowedControl* first = Control(window, 1);
  SetFocus(first->Handle());
  first->EnableOrDisable(false);
  HWND focus = GetFocus();
  EXPECT_NE(focus, first->Handle());
  EXPECT_TRUE(focus == Control(window, 3)->Handle() || focus == Control(window, 4)->Handle())
      << "the next tab stop is a radio button";
  // With no tab stop left, the client window takes it.
  for (std::int32_t field : {3, 4}) Control(window, field)->EnableOrDisable(false);
  SetFocus(Control(window, 4)->Handle());
  Control(window, 2)->EnableOrDisable(false);
  EXPECT_EQ(GetFocus(), window.Object().client);
}

TEST_F(ControlState, TheFocusPostsSelectedAndComesBackAfterASkipControl) {
  ProcedureWindow window;
  OpenOptions(window);
  // Showing the window gave the first field the focus.
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 1);
  SetFocus(Control(window, 3)->Handle());
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 3);
  SetFocus(Control(window, 1)->Handle());
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 1);
  EXPECT_EQ(window.Object().lastFocusWindow, Control(window, 1)->Handle());

  WindowedControl* skip = Control(window, 5);
  SetFocus(skip->Handle());
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 5);
  EXPECT_EQ(window.Object().lastFocusWindow, Control(window, 1)->Handle()) << "skip controls are passed over";
  skip->NotifySkipControlUsed();
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 1);
  EXPECT_EQ(GetFocus(), Control(window, 1)->Handle());

  // Clicked, a skip control takes the focus and gives it back once the button is released.
  SendMessageA(skip->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(GetFocus(), skip->Handle());
  SendMessageA(skip->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 5);
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 1);
  EXPECT_EQ(GetFocus(), Control(window, 1)->Handle());
}

TEST_F(ControlState, SelectingAFieldAndTheAcceptAllPassReachTheControls) {
  ProcedureWindow window;
  OpenOptions(window);
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  SelectWindowField(window.Object(), 5, 0, -1);
  ASSERT_EQ(NextEvent(window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 5);
  EXPECT_EQ(GetFocus(), Control(window, 5)->Handle());
  // The pass visits the controls with a variable, in field order.
  SelectWindowField(window.Object(), 0, 0, 0);
  std::vector<std::int32_t> accepted;
  for (std::int32_t event = NextEvent(window); event == Number(EVENT_Accepted); event = NextEvent(window)) {
    accepted.push_back(AcceptedField());
  }
  EXPECT_EQ(accepted, (std::vector<std::int32_t>{1, 2, 5}));
  EXPECT_EQ(EventNumber(), Number(EVENT_Completed));
}

TEST_F(ControlState, FieldEventsReachTheLoopOnlyForFieldsWhileTheProgramRuns) {
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 100, 40)
  entry use(FixedString, 4) at(2, 2, 40, 10)
  entry use(FixedString, 4) at(2, 20, 40, 10) field(0)
end
)",
       {m_first, m_last});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  WindowedControl* field = Control(window, 1);
  ASSERT_EQ(window.Object().controls.size(), 2u);
  auto* notField = dynamic_cast<WindowedControl*>(window.Object().controls[1].get());
  EXPECT_FALSE(notField->IsField());
  notField->PostFieldEvent(EVENT_Accepted);
  services::SetRuntimeRunning(false);
  field->PostFieldEvent(EVENT_Accepted);
  services::SetRuntimeRunning(true);
  field->PostFieldEvent(EVENT_NewSelection);
  std::int32_t event = NextEvent(window);
  if (event == Number(EVENT_Selected)) event = NextEvent(window);  // the first field took the focus
  ASSERT_EQ(event, Number(EVENT_NewSelection));
  EXPECT_EQ(EventField(), 1);
  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(NextEvent(window), Number(EVENT_CloseWindow));
}

using ControlStateDeathTest = ControlState;

TEST_F(ControlStateDeathTest, AVariableBindingThatCannotBeMadeIsError501) {
  // The list of variables runs out: before, the third control silently got none.
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        Open(window, kOptionWindow, {m_first, m_choice});
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 01 : CTLUSE");
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        Open(window, kOptionWindow, {m_first, nullptr, m_last});
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 01 : CTLUSE");
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        Open(window, "window \"W\" at(0, 0, 100, 40)\n  entry use(24, 4) at(2, 2, 40, 10)\nend\n", {m_first});
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 01 : CTLUSE");
}

TEST_F(ControlStateDeathTest, AControlMadeOutsideWindowBuildingIsError501) {
  EXPECT_EXIT(
      {
        Record record;
        record.kind = kKindEntry;
        EntryControl control(record);
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 01 : CTLMAIN");
}

}  // namespace
}  // namespace vel::controls::testing

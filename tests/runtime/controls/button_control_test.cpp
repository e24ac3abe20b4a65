// Buttons: the search window's flat icon buttons pressed by mouse and keyboard, what reaches the
// window, default buttons, immediate buttons that repeat on the headless clock, and buttons
// that check the window's required values first.

#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/button_control.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/entry_control.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class Buttons : public ControlTest {
 protected:
  ButtonControl* Button(ProcedureWindow& window, std::int32_t field) {
    return dynamic_cast<ButtonControl*>(Control(window, field));
  }
  static platform::HeadlessDisplay& Display() { return *platform::CurrentHeadlessDisplay(); }
};

const std::vector<Delivered> kNone;

TEST_F(Buttons, TheSearchWindowsButtonsAreFlatIconButtonsAndTheFirstIsTheDefault) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  ButtonControl* get = Button(window, 3);
  ASSERT_NE(get, nullptr);
  EXPECT_EQ(get->ButtonFlags(), kButtonDrawnByRuntime | kButtonFlat);
  EXPECT_EQ(get->DrawState(), kDrawDefault | kDrawFlat);
  EXPECT_EQ(get->IconName(), "GET.ICO");
  EXPECT_EQ(StyleOf(get->Handle()) & 0xF, static_cast<DWORD>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(SendMessageA(window.Object().client, DM_GETDEFID, 0, 0), MAKELRESULT(0x4003, DC_HASDEFID));
  for (std::int32_t field : {4, 5}) {
    EXPECT_EQ(Button(window, field)->DrawState(), kDrawFlat) << field;
    EXPECT_EQ(StyleOf(Button(window, field)->Handle()) & 0xF, static_cast<DWORD>(BS_PUSHBUTTON)) << field;
  }
  // A later default button takes the place, and the earlier one its look.
  SendMessageA(window.Object().client, DM_SETDEFID, 0x4005, 0);
  EXPECT_FALSE(get->HasDrawState(kDrawDefault));
  EXPECT_TRUE(Button(window, 5)->HasDrawState(kDrawDefault));
}

TEST_F(Buttons, AClickActsOnceAndAPressReleasedOutsideNotAtAll) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  ButtonControl* get = Button(window, 3);
  Display().Click(MiddleOf(get->Handle()));
  EXPECT_EQ(PendingEvents(window), (std::vector<Delivered>{{Number(EVENT_Accepted), 3}}));
  EXPECT_FALSE(get->Captured());
  EXPECT_FALSE(get->HasDrawState(kDrawPressed));

  POINT inside = MiddleOf(get->Handle());
  POINT outside = MiddleOf(Control(window, 2)->Handle());
  Display().MouseDown(inside);
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_TRUE(get->Captured());
  EXPECT_TRUE(get->HasDrawState(kDrawPressed));
  Display().MoveMouse(outside);
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_FALSE(get->HasDrawState(kDrawPressed)) << "shown released while the pointer is away";
  Display().MoveMouse(inside);
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_TRUE(get->HasDrawState(kDrawPressed));
  Display().MoveMouse(outside);
  Display().MouseUp(outside);
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_FALSE(get->Captured());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Buttons, SpaceActsOnKeyUpAndAFocusChangeCancelsIt) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  ButtonControl* undo = Button(window, 4);
  SetFocus(undo->Handle());
  Display().KeyDown(VK_SPACE);
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_TRUE(undo->HasDrawState(kDrawPressed));
  Display().KeyUp(VK_SPACE);
  EXPECT_EQ(PendingEvents(window), (std::vector<Delivered>{{Number(EVENT_Accepted), 4}}));
  EXPECT_FALSE(undo->HasDrawState(kDrawPressed));

  // The focus leaves while Space is down: the press is off and the key's release does nothing.
  Display().KeyDown(VK_SPACE);
  EXPECT_EQ(PendingEvents(window), kNone);
  SetFocus(Control(window, 5)->Handle());
  EXPECT_FALSE(undo->HasDrawState(kDrawPressed));
  Display().KeyUp(VK_SPACE);
  EXPECT_EQ(PendingEvents(window), kNone);
}

TEST_F(Buttons, TheWindowsCommandActsOnlyForClicksAndShowsThePressForAKey) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  ButtonControl* cancel = Button(window, 5);
  HWND handle = cancel->Handle();
  SendMessageA(handle, QUERY_COMMAND, MAKEWPARAM(0x4005, 6 /* focus notification */), reinterpret_cast<LPARAM>(handle));
  EXPECT_EQ(PendingEvents(window), kNone);
  SendMessageA(handle, QUERY_COMMAND, MAKEWPARAM(0x4005, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(handle));
  SendMessageA(handle, QUERY_COMMAND, MAKEWPARAM(0x4005, BN_CLICKED), 0);
  EXPECT_EQ(PendingEvents(window),
            (std::vector<Delivered>{{Number(EVENT_Accepted), 5}, {Number(EVENT_Accepted), 5}}));
  EXPECT_FALSE(cancel->HasDrawState(kDrawPressed));
}

TEST_F(Buttons, FlatButtonsAreHotWhileThePointerIsOverThem) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  ButtonControl* get = Button(window, 3);
  ButtonControl* undo = Button(window, 4);
  Display().MoveMouse(MiddleOf(get->Handle()));
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_TRUE(get->HasDrawState(kDrawHot));
  // Straight onto the next button: the first notices on its next tick.
  Display().MoveMouse(MiddleOf(undo->Handle()));
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_TRUE(undo->HasDrawState(kDrawHot));
  Display().AdvanceClock(kHoverPeriod);
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_FALSE(get->HasDrawState(kDrawHot));
  EXPECT_TRUE(undo->HasDrawState(kDrawHot));
  Display().MoveMouse(MiddleOf(Control(window, 2)->Handle()));
  Display().AdvanceClock(kHoverPeriod);
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_FALSE(undo->HasDrawState(kDrawHot));

  // Disabled, a button is neither hot nor pressed.
  Display().MoveMouse(MiddleOf(get->Handle()));
  EXPECT_EQ(PendingEvents(window), kNone);
  get->EnableOrDisable(false);
  EXPECT_EQ(get->DrawState(), kDrawDefault | kDrawFlat | kDrawDisabled);
}

TEST_F(Buttons, AnImmediateButtonReportsOnThePressAfterTheDelayAndAtEveryRepeat) {
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 60)
  button "Step" at(10, 10, 60, 14) attributes(immediate) delay(50) repeat(10)
end
)");
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  ButtonControl* step = Button(window, 1);
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->DelayMilliseconds(), 500u);
  EXPECT_EQ(step->RepeatMilliseconds(), 100u);
  const std::vector<Delivered> once{{Number(EVENT_Accepted), 1}};
  Display().MouseDown(MiddleOf(step->Handle()));
  EXPECT_EQ(PendingEvents(window), once);
  Display().AdvanceClock(499);
  EXPECT_EQ(PendingEvents(window), kNone);
  Display().AdvanceClock(1);
  EXPECT_EQ(PendingEvents(window), once);
  for (int repeat = 0; repeat < 3; ++repeat) {
    Display().AdvanceClock(99);
    EXPECT_EQ(PendingEvents(window), kNone) << repeat;
    Display().AdvanceClock(1);
    EXPECT_EQ(PendingEvents(window), once) << repeat;
  }
  Display().MouseUp(MiddleOf(step->Handle()));
  EXPECT_EQ(PendingEvents(window), kNone) << "released, the button's report came with the press";
  Display().AdvanceClock(1000);
  EXPECT_EQ(PendingEvents(window), kNone);
}

// An entry that says it still needs a value, as an entry marked required does while empty.
class NeedyEntry : public EntryControl {
 public:
  explicit NeedyEntry(const Record& record) : EntryControl(record) {}
  bool NeedsValue() const override { return needs; }
  static inline bool needs = true;
};

TEST_F(Buttons, AButtonThatChecksRequiredValuesSelectsTheFirstFieldNeedingOne) {
  RegisterControlKind(kKindEntry, CreateKind<NeedyEntry>);
  char first[4] = {' ', ' ', ' ', ' '};
  char second[4] = {' ', ' ', ' ', ' '};
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 80)
  button "OK" at(10, 50, 40, 14) flags(required)
  entry use(FixedString, 4) at(10, 10, 40, 10) field(7)
  entry use(FixedString, 4) at(10, 30, 40, 10) field(6)
end
)",
       {first, second});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  ButtonControl* ok = Button(window, 1);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->ButtonFlags(), kButtonChecksRequired);
  NeedyEntry::needs = true;
  SendMessageA(ok->Handle(), QUERY_COMMAND, MAKEWPARAM(0x4001, BN_CLICKED), reinterpret_cast<LPARAM>(ok->Handle()));
  EXPECT_EQ(PendingEvents(window), kNone);
  EXPECT_EQ(GetFocus(), Control(window, 6)->Handle()) << "the lowest field number, not the first record";
  NeedyEntry::needs = false;
  SendMessageA(ok->Handle(), QUERY_COMMAND, MAKEWPARAM(0x4001, BN_CLICKED), reinterpret_cast<LPARAM>(ok->Handle()));
  EXPECT_EQ(PendingEvents(window), (std::vector<Delivered>{{Number(EVENT_Accepted), 1}}));
}

}  // namespace
}  // namespace vel::controls::testing

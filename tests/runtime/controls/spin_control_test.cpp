// Spin boxes on the headless display: stepping by keys and by the arrow strip (with its delay
// and repeat on the display's clock), the range, FROM lists and the value of a spin box
// without a variable.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/spin_control.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_properties.h"
#include "tests/runtime/controls/entry_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class SpinBoxes : public EntryTest {
 protected:
  static SpinControl* Spin(ProcedureWindow& window, std::int32_t field) {
    return dynamic_cast<SpinControl*>(Control(window, field));
  }

  /// A point over the up (+1) or down (-1) arrow, in screen coordinates.
  static POINT ArrowPoint(SpinControl& spin, int direction) {
    RECT client{};
    GetClientRect(spin.Handle(), &client);
    POINT point{client.right + SpinControl::StripWidth() / 2, direction > 0 ? 2 : client.bottom - 2};
    ClientToScreen(spin.Handle(), &point);
    return point;
  }

  /// With the display's clock stopped: lets `milliseconds` pass and handles what follows.
  std::vector<std::int32_t> Wait(ProcedureWindow& window, std::uint64_t milliseconds) {
    window.SetProperty(kPropTimer, 1);
    platform::CurrentHeadlessDisplay()->AdvanceClock(milliseconds);
    std::vector<std::int32_t> events;
    for (;;) {
      std::int32_t event = NextEvent(window);
      if (event < 0 || event == Number(EVENT_Timer)) break;
      events.push_back(event);
    }
    window.SetProperty(kPropTimer, 0);
    return events;
  }
};

const char kSpins[] = R"(
window "W" at(0, 0, 200, 40) font("Arial", 8, default, 400)
  spin use(Int32, 4) at(4, 4, 40, 10) low(1) high(10)
  spin at(60, 4, 40, 10) low(1) high(3) step(1)
  entry use(FixedString, 10) at(110, 4, 60, 10) picture("s10")
end
)";

TEST_F(SpinBoxes, ArrowKeysStepWithinTheRangeAndReportEachChange) {
  std::int32_t value = 7;
  char text[10];
  ProcedureWindow window;
  OpenAndShow(window, kSpins, {&value, text});
  SpinControl* spin = Spin(window, 1);
  EXPECT_EQ(spin->Delay(), 200u);
  EXPECT_EQ(spin->Repeat(), 50u);
  EXPECT_EQ(TextOf(spin->Handle()), "7");
  Select(window, 1);
  for (int i = 0; i < 5; ++i) Press(VK_UP);
  std::vector<std::int32_t> events = Settle(window);
  EXPECT_EQ(value, 10);
  EXPECT_EQ(std::count(events.begin(), events.end(), Number(EVENT_NewSelection)), 3);
  EXPECT_EQ(spin->Buffer().SelectedText(), "10");
  Press(VK_DOWN);
  Settle(window);
  EXPECT_EQ(value, 9);
  // Typed text is committed before the step.
  Type("3");
  Press(VK_DOWN);
  events = Settle(window);
  EXPECT_TRUE(HasEvent(events, EVENT_Accepted));
  EXPECT_EQ(value, 2);
  Press(VK_DOWN);
  Press(VK_DOWN);
  Settle(window);
  EXPECT_EQ(value, 1);
}

TEST_F(SpinBoxes, AHeldArrowStepsAgainAfterTheDelayAndThenEveryRepeat) {
  std::int32_t value = 1;
  char text[10];
  ProcedureWindow window;
  OpenAndShow(window, kSpins, {&value, text});
  SpinControl* spin = Spin(window, 1);
  RECT client{};
  GetClientRect(spin->Handle(), &client);
  EXPECT_GT(client.right, 0);
  platform::HeadlessDisplay* display = platform::CurrentHeadlessDisplay();
  display->Clock().SetManual(true);
  display->MouseDown(ArrowPoint(*spin, 1));
  Wait(window, 10);
  EXPECT_EQ(value, 2) << "a press steps once";
  Wait(window, 180);
  EXPECT_EQ(value, 2) << "not before the delay";
  Wait(window, 20);
  EXPECT_EQ(value, 3);
  Wait(window, 50);
  EXPECT_EQ(value, 4);
  display->MouseUp(ArrowPoint(*spin, 1));
  Wait(window, 200);
  EXPECT_EQ(value, 4) << "released: no more steps";
  display->Click(ArrowPoint(*spin, -1));
  Wait(window, 10);
  EXPECT_EQ(value, 3);
  display->Clock().SetManual(false);
}

TEST_F(SpinBoxes, WithoutAVariableTheSpinBoxKeepsItsOwnValue) {
  std::int32_t value = 1;
  char text[10];
  ProcedureWindow window;
  OpenAndShow(window, kSpins, {&value, text});
  SpinControl* spin = Spin(window, 2);
  Select(window, 2);
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_UP);
  Settle(window);
  EXPECT_EQ(spin->OwnValue(), "3");
  Type("123456789012345678901234");
  Select(window, 3);
  EXPECT_EQ(spin->OwnValue(), "12345678901234567890") << "20 characters of its own";
}

TEST_F(SpinBoxes, AFromListStepsUpToThePreviousItemAndDownToTheNext) {
  std::int32_t value = 1;
  char text[10];
  ProcedureWindow window;
  OpenAndShow(window, kSpins, {&value, text});
  SpinControl* spin = Spin(window, 2);
  spin->SetValues({"low", "middle", "high"});
  Select(window, 2);
  Press(VK_DOWN);
  Settle(window);
  EXPECT_EQ(spin->OwnValue(), "low");
  Press(VK_DOWN);
  Press(VK_DOWN);
  Press(VK_DOWN);
  Settle(window);
  EXPECT_EQ(spin->OwnValue(), "high");
  Press(VK_UP);
  Settle(window);
  EXPECT_EQ(spin->OwnValue(), "middle");
  // Typed text finds its place in the list first.
  Type("low");
  Press(VK_DOWN);
  Settle(window);
  EXPECT_EQ(spin->OwnValue(), "middle");
}

}  // namespace
}  // namespace vel::controls::testing

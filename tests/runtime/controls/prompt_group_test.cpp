// Prompts pass the focus to the control they label, by their hot key or when selected; groups
// stay out of tabbing and paint themselves with colours of their own.

#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/prompt_control.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_fields.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

using PromptsAndGroups = ControlTest;

TEST_F(PromptsAndGroups, APromptsHotKeyAndSelectingItGiveTheFocusToTheControlAfterIt) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  SendMessageA(Control(window, 6)->Handle(), QUERY_COMMAND, MAKEWPARAM(0x4006, 0), 0);
  EXPECT_EQ(GetFocus(), Control(window, 7)->Handle()) << "Author: labels the author entry";
  // The search procedure selects its first prompt when its window opens.
  SelectWindowField(window.Object(), 1, 0, -1);
  EXPECT_EQ(GetFocus(), Control(window, 2)->Handle());
  std::int32_t event = NextEvent(window);
  while (event == Number(EVENT_Selected) && EventField() != 2) event = NextEvent(window);
  EXPECT_EQ(event, Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 2) << "the prompt itself is never selected";
}

TEST_F(PromptsAndGroups, APromptPassesOverWhatCannotTakeTheFocus) {
  char text[4] = {' ', ' ', ' ', ' '};
  char choice[4] = {'B', ' ', ' ', ' '};
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 100)
  prompt "&Name:" at(2, 2, 30, 10)
  entry use(FixedString, 4) at(40, 2, 40, 10) attributes(disabled)
  prompt "Other" at(90, 2, 30, 10)
  option use(FixedString, 4) at(2, 20, 100, 30)
    radio "A" at(6, 30, 30, 10)
    radio "B" at(40, 30, 30, 10)
  end
  prompt "&Last" at(2, 60, 30, 10)
end
)",
       {text, choice});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  auto* name = dynamic_cast<PromptControl*>(Control(window, 1));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->NextFocusWindow(), Control(window, 6)->Handle()) << "the option box's choice, B";
  SendMessageA(name->Handle(), QUERY_COMMAND, MAKEWPARAM(0x4001, 0), 0);
  EXPECT_EQ(GetFocus(), Control(window, 6)->Handle());
  auto* last = dynamic_cast<PromptControl*>(Control(window, 7));
  EXPECT_EQ(last->NextFocusWindow(), nullptr);
  SendMessageA(last->Handle(), QUERY_COMMAND, MAKEWPARAM(0x4007, 0), 0);
  EXPECT_EQ(GetFocus(), Control(window, 6)->Handle()) << "nothing follows: the focus stays";
}

TEST_F(PromptsAndGroups, AltWithTheMarkedLetterOfAPromptOrButtonCommandsIt) {
  char first[4] = {' ', ' ', ' ', ' '};
  char second[4] = {' ', ' ', ' ', ' '};
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 100)
  prompt "&Name:" at(2, 2, 30, 10)
  entry use(FixedString, 4) at(40, 2, 40, 10)
  prompt "Ti&tle && more:" at(2, 20, 30, 10)
  entry use(FixedString, 4) at(40, 20, 40, 10)
  button "&Go" at(2, 40, 40, 14)
  button "Plain" at(50, 40, 40, 14)
end
)",
       {first, second});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  EXPECT_EQ(Control(window, 1)->HotKeyCharacter(), 'N');
  EXPECT_EQ(Control(window, 3)->HotKeyCharacter(), 't') << "a doubled && is no mark";
  EXPECT_EQ(Control(window, 2)->HotKeyCharacter(), 0) << "an entry owns no hot key";
  EXPECT_EQ(Control(window, 6)->HotKeyCharacter(), 0);
  platform::HeadlessDisplay& display = *platform::CurrentHeadlessDisplay();

  // The keys go through the window's ACCEPT loop, which looks for hot keys.
  using Events = std::vector<std::pair<std::int32_t, std::int32_t>>;
  const Events accepted{{Number(EVENT_Accepted), 5}};
  auto EventsSoFar = [this](ProcedureWindow& shown) {
    std::vector<std::int32_t> fields;
    std::vector<std::int32_t> numbers = EventsWhileInputIsTaken(shown, nullptr, &fields);
    Events events;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      if (numbers[i] != Number(EVENT_Selected)) events.emplace_back(numbers[i], fields[i]);
    }
    return events;
  };
  display.PressKey('T', platform::kAlt);
  EXPECT_EQ(EventsSoFar(window), Events{});
  EXPECT_EQ(GetFocus(), Control(window, 4)->Handle()) << "the prompt passes the focus on";
  display.PressKey('N', platform::kAlt);
  EXPECT_EQ(EventsSoFar(window), Events{});
  EXPECT_EQ(GetFocus(), Control(window, 2)->Handle());
  display.PressKey('G', platform::kAlt);
  EXPECT_EQ(EventsSoFar(window), accepted);

  // A new text marks a new letter; the old one no longer commands the button.
  Control(window, 5)->SetText("&Run");
  display.PressKey('G', platform::kAlt);
  EXPECT_EQ(EventsSoFar(window), Events{});
  display.PressKey('R', platform::kAlt);
  EXPECT_EQ(EventsSoFar(window), accepted);
  // A disabled button's key does nothing.
  Control(window, 5)->EnableOrDisable(false);
  display.PressKey('R', platform::kAlt);
  EXPECT_EQ(EventsSoFar(window), Events{});
}

TEST_F(PromptsAndGroups, AGroupNeverTakesPartInTabbingAndAnOptionBoxOnlyWhenShown) {
  char choice[4] = {'A', ' ', ' ', ' '};
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 100)
  group "Group" at(2, 2, 190, 40) attributes(boxed)
    prompt "Inside" at(6, 14, 40, 10)
  end
  option use(FixedString, 4) at(2, 50, 100, 30) attributes(boxed)
    radio "A" at(6, 60, 30, 10)
  end
end
)",
       {choice});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  EXPECT_EQ(SendMessageA(Control(window, 1)->Handle(), kCanTabMessage, 0, 0), 0);
  EXPECT_EQ(SendMessageA(Control(window, 3)->Handle(), kCanTabMessage, 0, 0), 1);
}

}  // namespace
}  // namespace vel::controls::testing

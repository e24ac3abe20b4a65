// Option boxes and their radio buttons: choosing by mouse and by the window's command, the
// values stored for string and numeric variables, the choice shown from the variable (equal
// values, the prefix rule, ordinals), and the focus of a box.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/option_control.h"
#include "runtime/controls/radio_control.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_fields.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class Options : public ControlTest {
 protected:
  OptionControl* Box(ProcedureWindow& window, std::int32_t field) {
    return dynamic_cast<OptionControl*>(Control(window, field));
  }
  static LRESULT Checked(ProcedureWindow& window, std::int32_t field) {
    return SendMessageA(Control(window, field)->Handle(), BM_GETCHECK, 0, 0);
  }
};

const std::vector<Delivered> kNone;

TEST_F(Options, ChoosingAnotherRadioButtonReportsTheBoxAndStoresItsText) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  OptionControl* box = Box(window, 12);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->CurrentOrdinal(), 1) << "OR, from the variable";
  EXPECT_EQ(Checked(window, 13), BST_CHECKED);
  EXPECT_EQ(Checked(window, 14), BST_UNCHECKED);

  HWND andButton = Control(window, 14)->Handle();
  platform::CurrentHeadlessDisplay()->Click(MiddleOf(andButton));
  EXPECT_EQ(PendingEvents(window), (std::vector<Delivered>{{Number(EVENT_Accepted), 12}}));
  EXPECT_EQ(std::string(m_andOr, 20), "AND                 ");
  EXPECT_EQ(box->CurrentOrdinal(), 2);
  EXPECT_EQ(Checked(window, 13), BST_UNCHECKED);
  EXPECT_EQ(Checked(window, 14), BST_CHECKED);

  platform::CurrentHeadlessDisplay()->Click(MiddleOf(andButton));
  EXPECT_EQ(PendingEvents(window), kNone) << "the same choice again";
  // The window's command (a hot key) chooses without an event of the radio button's own.
  SendMessageA(Control(window, 13)->Handle(), QUERY_COMMAND, MAKEWPARAM(0x400D, BN_CLICKED), 0);
  EXPECT_EQ(PendingEvents(window), (std::vector<Delivered>{{Number(EVENT_Accepted), 12}}));
  EXPECT_EQ(std::string(m_andOr, 20), "OR                  ");
  EXPECT_EQ(Checked(window, 14), BST_UNCHECKED);
}

TEST_F(Options, ValueStringsAndOrdinalsAreStoredAsTheVariableTakesThem) {
  char text[4] = {' ', ' ', ' ', ' '};
  std::int32_t number = 0;
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 90)
  option use(FixedString, 4) at(2, 2, 190, 30) attributes(boxed)
    radio "High" at(6, 12, 40, 10) value("H")
    radio "Low" at(50, 12, 40, 10)
  end
  option use(Int32, 4) at(2, 40, 190, 30)
    radio "One" at(6, 50, 40, 10)
    radio "Two" at(50, 50, 40, 10) value("7")
    radio "Three" at(94, 50, 40, 10)
  end
end
)",
       {text, &number});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  EXPECT_EQ(Box(window, 1)->CurrentOrdinal(), 0) << "blank names none";
  EXPECT_EQ(Box(window, 4)->CurrentOrdinal(), 0) << "0 is no position";
  SendMessageA(Control(window, 2)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(std::string(text, 4), "H   ");
  SendMessageA(Control(window, 3)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(std::string(text, 4), "Low ");
  SendMessageA(Control(window, 7)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(number, 3);
  SendMessageA(Control(window, 6)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(PendingEvents(window), (std::vector<Delivered>{{Number(EVENT_Accepted), 1},
                                                           {Number(EVENT_Accepted), 1},
                                                           {Number(EVENT_Accepted), 4},
                                                           {Number(EVENT_Accepted), 4}}));
}

TEST_F(Options, TheVariableNamesItsRadioButtonByValueByPrefixOrByPosition) {
  char text[8];
  std::int32_t number = 2;
  std::memcpy(text, "A       ", 8);
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 90)
  option use(FixedString, 8) at(2, 2, 190, 30)
    radio "Apple" at(6, 12, 40, 10)
    radio "Avocado" at(50, 12, 40, 10)
    radio "Banana" at(94, 12, 40, 10)
  end
  option use(Int32, 4) at(2, 40, 190, 30)
    radio "One" at(6, 50, 40, 10)
    radio "Two" at(50, 50, 40, 10)
  end
end
)",
       {text, &number});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  EXPECT_EQ(Box(window, 1)->CurrentOrdinal(), 2) << "the last radio button beginning with A";
  EXPECT_EQ(Checked(window, 3), BST_CHECKED);
  EXPECT_EQ(Checked(window, 2), BST_UNCHECKED);
  EXPECT_EQ(Box(window, 5)->CurrentOrdinal(), 2);

  std::memcpy(text, "Apple   ", 8);
  number = 3;
  RedisplayFields(window.Object(), 0, 0);
  EXPECT_EQ(Box(window, 1)->CurrentOrdinal(), 1) << "an equal value before any prefix";
  EXPECT_EQ(Box(window, 5)->CurrentOrdinal(), 0) << "beyond the last position";
  EXPECT_EQ(Checked(window, 6), BST_UNCHECKED);
  EXPECT_EQ(Checked(window, 7), BST_UNCHECKED);
  std::memcpy(text, "Cherry  ", 8);
  RedisplayFields(window.Object(), 0, 0);
  EXPECT_EQ(Box(window, 1)->CurrentOrdinal(), 0);
  EXPECT_EQ(PendingEvents(window), kNone) << "showing the variable is no choice";
}

TEST_F(Options, TheBoxPassesItsFocusToItsChoiceOrItsFirstRadioButton) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  SendMessageA(Control(window, 12)->Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(GetFocus(), Control(window, 13)->Handle());
  std::memcpy(m_andOr, "AND                 ", 20);
  RedisplayFields(window.Object(), 12, 12);
  SendMessageA(Control(window, 12)->Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(GetFocus(), Control(window, 14)->Handle());
  std::memcpy(m_andOr, "XOR                 ", 20);
  RedisplayFields(window.Object(), 12, 12);
  SendMessageA(Control(window, 12)->Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(GetFocus(), Control(window, 13)->Handle());
}

}  // namespace
}  // namespace vel::controls::testing

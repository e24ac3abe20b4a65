// The list: rows from a FROM string, selection by keys, mouse and first character, the events
// it posts, scroll events of an immediate list, and its scroll bar when the rows do not fit.

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/controls/from_source.h"
#include "runtime/controls/list_control.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

TEST(FromSource, SingleBarsSplitAndDoubledBarsStayInTheItem) {
  EXPECT_EQ(SplitFromString("threaded|list|tabular"), (std::vector<std::string>{"threaded", "list", "tabular"}));
  EXPECT_EQ(SplitFromString("a||b|c"), (std::vector<std::string>{"a|b", "c"}));
  EXPECT_TRUE(SplitFromString("").empty());
  EXPECT_EQ(SplitFromString("one"), std::vector<std::string>{"one"});
  EXPECT_EQ(SplitFromString("a|"), (std::vector<std::string>{"a", ""})) << "the last item runs to the end";
  EXPECT_EQ(SplitFromString("||"), std::vector<std::string>{"|"});
  EXPECT_EQ(SplitFromString("|||"), (std::vector<std::string>{"|", ""}));
  FromSource source("25|50|100");
  EXPECT_EQ(source.Count(), 3u);
  EXPECT_EQ(source.Item(2), "100");
  EXPECT_EQ(source.Item(3), "") << "past the end";
}

class Lists : public ControlTest {
 protected:
  char m_format[8];
  char m_letters[4];

  // A plain "Format" list (three rows showing) and a list of ten letters three rows high.
  ListControl* OpenLists(ProcedureWindow& window, const char* format, const char* attributes = "") {
    std::memcpy(m_format, format, 8);
    std::memcpy(m_letters, "    ", 4);
    Open(window, std::string(R"(window "W" at(0, 0, 200, 100) flags(pixel) font("Arial", 8, default, 400)
  list use(FixedString, 8) at(10, 10, 80, 45) values(FixedString, 21, "threaded|list|tabular"))") +
                     attributes + R"(
  list use(FixedString, 4) at(100, 10, 60, 45) values(FixedString, 19, "a|b|c|d|e|f|g|h|i|j")
end
)",
         {m_format, m_letters});
    EXPECT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
    return dynamic_cast<ListControl*>(Control(window, 1));
  }
  static void Key(ListControl* list, WPARAM key) { SendMessageA(list->Handle(), WM_KEYDOWN, key, 0); }
  static void Char(ListControl* list, char c) { SendMessageA(list->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0); }
  static void ClickRow(ListControl* list, int row) {
    LPARAM at = MAKELPARAM(5, (row - list->TopRow()) * list->RowHeight() + list->RowHeight() / 2);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
  }
};

TEST_F(Lists, TheVariablesValueSelectsItsRowWithoutAnEvent) {
  ProcedureWindow window;
  ListControl* list = OpenLists(window, "list    ");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Selected(), 1);
  EXPECT_EQ(PendingEvents(window), Events{});
  std::memcpy(m_format, "nothing ", 8);
  list->DisplayUseValue();
  EXPECT_EQ(list->Selected(), -1) << "a value that is no row's selects none";
}

TEST_F(Lists, KeysMoveTheSelectionStoreTheRowAndReportEachMove) {
  ProcedureWindow window;
  ListControl* list = OpenLists(window, "list    ");
  Key(list, VK_DOWN);
  EXPECT_EQ(list->Selected(), 2);
  EXPECT_EQ(std::string(m_format, 8), "tabular ");
  Key(list, VK_DOWN);  // Already on the last row: nothing changes, nothing is reported.
  Key(list, VK_HOME);
  EXPECT_EQ(list->Selected(), 0);
  EXPECT_EQ(std::string(m_format, 8), "threaded");
  Key(list, VK_END);
  Key(list, VK_PRIOR);
  EXPECT_EQ(list->Selected(), 0);
  Key(list, VK_F2);
  EXPECT_EQ(PendingEvents(window),
            (Events{{Number(EVENT_NewSelection), 1}, {Number(EVENT_NewSelection), 1},
                    {Number(EVENT_NewSelection), 1}, {Number(EVENT_NewSelection), 1}}));
  // Enter accepts a plain list's row.
  Key(list, VK_RETURN);
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_Accepted), 1}}));
}

TEST_F(Lists, ACharacterLocatesTheNextRowStartingWithItAndWraps) {
  ProcedureWindow window;
  ListControl* list = OpenLists(window, "list    ");
  Char(list, 't');
  EXPECT_EQ(list->Selected(), 2) << "tabular, after the selected row";
  Char(list, 'T');
  EXPECT_EQ(list->Selected(), 0) << "wrapped round to threaded, whatever the case";
  Char(list, 'x');
  Char(list, ' ');
  EXPECT_EQ(list->Selected(), 0);
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), 1}, {Number(EVENT_NewSelection), 1}}));
}

TEST_F(Lists, AClickCompletesTheChoiceEvenOnTheSelectedRow) {
  ProcedureWindow window;
  ListControl* list = OpenLists(window, "list    ");
  ClickRow(list, 0);
  EXPECT_EQ(list->Selected(), 0);
  EXPECT_EQ(std::string(m_format, 8), "threaded");
  EXPECT_EQ(GetFocus(), list->Handle());
  ClickRow(list, 0);
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), 1}, {Number(EVENT_NewSelection), 1}}));
  // A press taken back outside the rows changes nothing.
  SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, list->RowHeight() * 2 + 2));
  SendMessageA(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
  EXPECT_EQ(list->Selected(), 0);
  EXPECT_EQ(PendingEvents(window), Events{});
}

TEST_F(Lists, AnImmediateListTurnsScrollKeysIntoEvents) {
  ProcedureWindow window;
  ListControl* list = OpenLists(window, "list    ", " attributes(immediate)");
  for (WPARAM key : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END}) Key(list, key);
  EXPECT_EQ(list->Selected(), 1) << "the selection stays";
  EXPECT_EQ(PendingEvents(window),
            (Events{{Number(EVENT_ScrollUp), 1}, {Number(EVENT_ScrollDown), 1}, {Number(EVENT_PageUp), 1},
                    {Number(EVENT_PageDown), 1}, {Number(EVENT_ScrollTop), 1}, {Number(EVENT_ScrollBottom), 1}}));
}

TEST_F(Lists, RowsThatDoNotFitScrollWithTheBarKeysAndWheel) {
  ProcedureWindow window;
  OpenLists(window, "list    ");
  auto* letters = dynamic_cast<ListControl*>(Control(window, 2));
  auto* format = dynamic_cast<ListControl*>(Control(window, 1));
  ASSERT_NE(letters, nullptr);
  int visible = letters->VisibleRows();
  ASSERT_LT(visible, 10);
  EXPECT_TRUE(StyleOf(letters->Handle()) & WS_VSCROLL);
  EXPECT_FALSE(StyleOf(format->Handle()) & WS_VSCROLL) << "three rows fit";
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(letters->Handle(), SB_VERT, &info);
  EXPECT_EQ(info.nMax, 9);
  EXPECT_EQ(info.nPage, static_cast<UINT>(visible));

  // A key move scrolls the selection into view; the bar follows.
  SendMessageA(letters->Handle(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(letters->TopRow(), 10 - visible);
  EXPECT_EQ(GetScrollPos(letters->Handle(), SB_VERT), 10 - visible);
  SendMessageA(letters->Handle(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(letters->TopRow(), 9 - visible);
  SendMessageA(letters->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 2), 0);
  EXPECT_EQ(letters->TopRow(), 2);
  SendMessageA(letters->Handle(), WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(letters->TopRow(), 0);
  // A notch of the wheel towards the user scrolls three rows on; away from the user, back.
  SendMessageA(letters->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(letters->TopRow(), std::min(3, 10 - visible));
  SendMessageA(letters->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(letters->TopRow(), 0);
  EXPECT_EQ(letters->Selected(), 9) << "scrolling leaves the selection alone";
}

}  // namespace
}  // namespace vel::controls::testing

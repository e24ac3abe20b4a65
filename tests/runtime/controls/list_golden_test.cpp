// Golden images of lists on the headless display with the pinned font: closed drop lists (one
// with the focus), an open drop list's popup, a list whose rows need a scroll bar, and closed
// drop lists in a window with the three-dimensional look, sunken like the entry beside them.

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/controls/drop_list_control.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class GoldenLists : public ControlTest {
 protected:
  char m_format[20];
  std::int16_t m_hits = 50;
  char m_letter[4];

  void OpenLists(ProcedureWindow& window) {
    std::memcpy(m_format, "tabular             ", 20);
    std::memcpy(m_letter, "g   ", 4);
    Open(window, R"(window "W" at(0, 0, 230, 70) flags(pixel) font("Arial", 8, default, 400) colours(0xC0C0C0, default, default)
  list use(FixedString, 20) at(10, 10, 80, 16) rows(5) values(FixedString, 21, "threaded|list|tabular")
  list use(Int16, 2) at(100, 10, 50, 16) rows(3) values(FixedString, 9, "25|50|100")
  list use(FixedString, 4) at(160, 10, 60, 50) values(FixedString, 19, "a|b|c|d|e|f|g|h|i|j")
end
)",
         {m_format, &m_hits, m_letter});
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }
  static void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
};

TEST_F(GoldenLists, ClosedDropListsAndAListWithAScrollBar) {
  ProcedureWindow window;
  OpenLists(window);
  SetFocus(Control(window, 2)->Handle());
  Repaint(window.Handle());
  EXPECT_EQ(platform::testing::CompareWindowWithGolden(window.Object().client, "list_closed_and_scrolled"), "");
}

TEST_F(GoldenLists, AnOpenDropList) {
  ProcedureWindow window;
  OpenLists(window);
  auto* format = dynamic_cast<DropListControl*>(Control(window, 1));
  SetFocus(format->Handle());
  SendMessageA(format->Handle(), CB_SHOWDROPDOWN, 1, 0);
  HWND popup = format->Popup()->Handle();
  Repaint(popup);
  EXPECT_EQ(platform::testing::CompareWindowWithGolden(popup, "list_open_drop"), "");
}

TEST_F(GoldenLists, ClosedDropListsAreSunkenLikeEntriesInTheThreeDimensionalLook) {
  char text[12];
  std::memcpy(text, "foo bar     ", 12);
  std::memcpy(m_format, "tabular             ", 20);
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 230, 30) flags(pixel) font("Arial", 8, default, 400) colours(0xC0C0C0, default, default) attributes(control-look)
  entry use(FixedString, 12) at(10, 8, 70, 14) picture("s12")
  list use(FixedString, 20) at(90, 8, 70, 14) rows(5) values(FixedString, 21, "threaded|list|tabular")
  list use(Int16, 2) at(170, 8, 50, 14) rows(3) values(FixedString, 9, "25|50|100")
end
)",
       {text, m_format, &m_hits});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  SetFocus(Control(window, 3)->Handle());
  Repaint(window.Handle());
  EXPECT_EQ(platform::testing::CompareWindowWithGolden(window.Object().client, "list_closed_control_look"), "");
}

}  // namespace
}  // namespace vel::controls::testing

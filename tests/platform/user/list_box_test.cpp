#include <gtest/gtest.h>

#include "platform/user/list_box_state.h"
#include "tests/platform/user/control_test_support.h"

// The list box: items kept sorted or in place, single and extended selection by mouse and
// keys, type-ahead, scrolling by the keys, the wheel and the scroll bar, and notifications.

namespace vel::platform::usertest {
namespace {

class ListBox : public ControlTest {
 protected:
  // Clicks of one test must not pair with the next test's into double clicks.
  void TearDown() override {
    Display().AdvanceClock(1000);
    ControlTest::TearDown();
  }
  void SetUp() override {
    ControlTest::SetUp();
    host = MakeHost(WS_POPUP | WS_VISIBLE, 50, 50, 300, 220);
  }
  HWND MakeList(DWORD style, int rows = 0) {
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10,
                                150, 120, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(9)), nullptr, nullptr);
    for (int i = 0; i < rows; ++i) {
      std::string text = "item " + std::to_string(100 + i);
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetFocus(list);
    Pump();
    Host().commands.clear();
    return list;
  }
  static std::string ItemText(HWND list, int index) {
    char buffer[128] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  int Count(int code) {
    int count = 0;
    for (const auto& [id, notification] : Host().commands) count += (id == 9 && notification == code) ? 1 : 0;
    return count;
  }
  POINT RowPoint(HWND list, int visibleRow) {
    auto height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    return ScreenPoint(list, 20, visibleRow * height + height / 2);
  }
  HWND host = nullptr;
};

TEST_F(ListBox, ItemsSortFindAndDelete) {
  HWND list = MakeList(LBS_SORT | LBS_NOTIFY);
  for (const char* name : {"pear", "Apple", "banana", "apple"}) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(ItemText(list, 0), "Apple");
  EXPECT_EQ(ItemText(list, 1), "apple");
  EXPECT_EQ(ItemText(list, 3), "pear");
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("BAN")), 2);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ban")), LB_ERR);
  // The search starts after the given item and wraps round.
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, 1, reinterpret_cast<LPARAM>("a")), 0);
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("zzz")), 1);
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 99, reinterpret_cast<LPARAM>("x")), LB_ERR);
  SendMessageA(list, LB_SETITEMDATA, 1, 1234);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 1234);
  SendMessageA(list, LB_SETCURSEL, 3, 0);
  EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 1, 0), 4);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 9, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 9, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  // Program changes are not reported.
  EXPECT_EQ(Count(LBN_SELCHANGE), 0);
}

TEST_F(ListBox, KeysAndClicksSelectAndReportAndScroll) {
  HWND list = MakeList(LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 30);
  Display().PressKey(VK_DOWN);
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  Display().PressKey(VK_END);
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 29);
  EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
  Display().PressKey(VK_HOME);
  Display().PressKey(VK_NEXT);
  Pump();
  LRESULT paged = SendMessageA(list, LB_GETCURSEL, 0, 0);
  EXPECT_GT(paged, 3);
  EXPECT_EQ(Count(LBN_SELCHANGE), 4);
  // A typed letter finds the next item starting with it.
  SendMessageA(list, LB_INSERTSTRING, 5, reinterpret_cast<LPARAM>("zebra"));
  Display().TypeText("z");
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 5);

  SendMessageA(list, LB_SETTOPINDEX, 0, 0);
  Display().Click(RowPoint(list, 2));
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  Display().AdvanceClock(1000);
  Display().DoubleClick(RowPoint(list, 3));
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(Count(LBN_DBLCLK), 1);

  Display().Wheel(RowPoint(list, 1), -WHEEL_DELTA);
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 3);
  // The scroll bar's down arrow, at the bottom right of the frame.
  RECT window{};
  GetWindowRect(list, &window);
  Display().Click(POINT{window.right - 6, window.bottom - 6});
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 4);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListBox, ExtendedSelectionWithShiftAndControl) {
  HWND list = MakeList(LBS_EXTENDEDSEL | LBS_NOTIFY, 6);
  Display().Click(RowPoint(list, 1));
  Display().AdvanceClock(1000);
  Display().KeyDown(VK_SHIFT);
  Display().Click(RowPoint(list, 3));
  Display().KeyUp(VK_SHIFT);
  Pump();
  EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 3);
  Display().AdvanceClock(1000);
  Display().KeyDown(VK_CONTROL);
  Display().Click(RowPoint(list, 5));
  Display().KeyUp(VK_CONTROL);
  Pump();
  int selected[8] = {};
  ASSERT_EQ(SendMessageA(list, 0x0191 /* LB_GETSELITEMS */, 8, reinterpret_cast<LPARAM>(selected)), 4);
  EXPECT_EQ(selected[0], 1);
  EXPECT_EQ(selected[3], 5);
  SendMessageA(list, LB_SETSEL, FALSE, -1);
  EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), LB_ERR);
}

TEST_F(ListBox, IntegralHeightTrimsToWholeRows) {
  HWND list = MakeList(0, 3);
  RECT client{};
  GetClientRect(list, &client);
  EXPECT_EQ(client.bottom % SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 0);
}

}  // namespace
}  // namespace vel::platform::usertest

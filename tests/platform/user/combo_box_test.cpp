#include <gtest/gtest.h>

#include "tests/platform/user/control_test_support.h"

// The drop-down list combo box: its items, the field's height, selection with the list closed,
// dropping and closing it by keys and clicks, and the order of its notifications.

namespace vel::platform::usertest {
namespace {

class ComboBox : public ControlTest {
 protected:
  // Clicks of one test must not pair with the next test's into double clicks.
  void TearDown() override {
    Display().AdvanceClock(1000);
    ControlTest::TearDown();
  }
  void SetUp() override {
    ControlTest::SetUp();
    host = MakeHost(WS_POPUP | WS_VISIBLE, 50, 50, 300, 220);
    combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 10,
                            10, 150, 120, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(4)), nullptr, nullptr);
    for (const char* name : {"Letter", "Legal", "A4", "A5"}) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SetFocus(combo);
    Pump();
    Host().commands.clear();
  }
  std::vector<int> Notifications() {
    std::vector<int> codes;
    for (const auto& [id, code] : Host().commands) {
      if (id == 4) codes.push_back(code);
    }
    return codes;
  }
  static std::string Text(HWND window) {
    char buffer[64] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
  }
  // The dropped list: the one "ComboLBox" window showing.
  static HWND DroppedList() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) {
          char name[32] = {};
          GetClassNameA(window, name, sizeof name);
          if (std::string(name) == "ComboLBox" && IsWindowVisible(window)) *reinterpret_cast<HWND*>(out) = window;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }
  HWND host = nullptr;
  HWND combo = nullptr;
};

TEST_F(ComboBox, FieldHeightItemsAndTextOfTheSelection) {
  RECT window{};
  GetWindowRect(combo, &window);
  EXPECT_LT(window.bottom - window.top, 30);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(Text(combo), "");
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("le")), 0);
  EXPECT_EQ(Text(combo), "Letter");
  // The search starts after the item given.
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>("le")), 1);
  EXPECT_EQ(Text(combo), "Legal");
  EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("a4")), 2);
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 0, 0), 6);
  EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 9, 0), CB_ERR);
  EXPECT_TRUE(Notifications().empty());
}

TEST_F(ComboBox, ArrowsSelectAtOnceWhileClosed) {
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_DOWN);
  Display().TypeText("a");
  Pump();
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Notifications(), (std::vector<int>{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBox, DroppedByKeyChosenWithEnterOrCancelledWithEscape) {
  Display().PressKey(VK_F4);
  Pump();
  ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_NE(DroppedList(), nullptr);
  EXPECT_EQ(GetFocus(), combo);
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_RETURN);
  Pump();
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

  Host().commands.clear();
  Display().PressKey(VK_DOWN, kAlt);
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_ESCAPE);
  Pump();
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Notifications(), (std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(DroppedList(), nullptr);
}

TEST_F(ComboBox, DroppedByClickFollowsThePointerAndClosesOnAClick) {
  Display().Click(ScreenPoint(combo, 140, 8));
  Pump();
  HWND list = DroppedList();
  ASSERT_NE(list, nullptr);
  RECT field{};
  RECT dropped{};
  GetWindowRect(combo, &field);
  GetWindowRect(list, &dropped);
  EXPECT_EQ(dropped.top, field.bottom);
  EXPECT_EQ(dropped.left, field.left);
  auto row = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  Display().MoveMouse(ScreenPoint(list, 20, 3 * row + row / 2));
  Display().Click(ScreenPoint(list, 20, 3 * row + row / 2));
  Pump();
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(Text(combo), "A5");
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));

  // A click elsewhere closes the list without choosing.
  Display().AdvanceClock(1000);
  Display().Click(ScreenPoint(combo, 140, 8));
  Pump();
  ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  Display().MoveMouse(ScreenPoint(DroppedList(), 20, row / 2));
  Display().Click(ScreenPoint(host, 250, 200));
  Pump();
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBox, DestroyingTheComboRemovesItsList) {
  Display().PressKey(VK_F4);
  Pump();
  ASSERT_NE(DroppedList(), nullptr);
  DestroyWindow(combo);
  Pump();
  EXPECT_EQ(DroppedList(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace vel::platform::usertest

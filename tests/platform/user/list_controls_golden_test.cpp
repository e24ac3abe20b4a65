#include <gtest/gtest.h>

#include "tests/platform/user/control_test_support.h"

// Golden images of the edit, list box and combo box in the states a dialog shows them.

namespace vel::platform::usertest {
namespace {

using testing::CompareWindowWithGolden;

class GoldenListControls : public ControlTest {
 protected:
  HWND MakeStrip(int width, int height) { return MakeHost(WS_POPUP | WS_VISIBLE, 20, 20, width, height); }
  static HWND Make(const char* className, const char* text, DWORD style, HWND parent, int x, int y, int width,
                   int height) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, className, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, width,
                           height, parent, nullptr, nullptr, nullptr);
  }
  static void Fill(HWND control, UINT message, int count) {
    for (int i = 0; i < count; ++i) {
      std::string text = "Document " + std::to_string(i + 1) + ".txt";
      SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
};

TEST_F(GoldenListControls, Edits) {
  HWND host = MakeStrip(4 * 104 + 4, 30);
  Make("Edit", "Plain text", ES_AUTOHSCROLL, host, 4, 4, 100, 22);
  HWND selected = Make("Edit", "Selected part", ES_AUTOHSCROLL, host, 108, 4, 100, 22);
  HWND disabled = Make("Edit", "Disabled", ES_AUTOHSCROLL, host, 212, 4, 100, 22);
  Make("Edit", "secret", ES_AUTOHSCROLL | ES_PASSWORD, host, 316, 4, 100, 22);
  EnableWindow(disabled, FALSE);
  SetFocus(selected);
  SendMessageA(selected, EM_SETSEL, 0, 8);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(host, "edit_states"), "");
}

TEST_F(GoldenListControls, ListBoxWithScrollBarAndSelection) {
  HWND host = MakeStrip(2 * 134 + 4, 108);
  HWND scrolled = Make("ListBox", "", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, host, 4, 4, 130, 100);
  Fill(scrolled, LB_ADDSTRING, 20);
  SendMessageA(scrolled, LB_SETCURSEL, 2, 0);
  HWND shortList = Make("ListBox", "", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, host, 138, 4, 130, 100);
  Fill(shortList, LB_ADDSTRING, 3);
  SendMessageA(shortList, LB_SETCURSEL, 1, 0);
  SetFocus(shortList);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(host, "list_box_states"), "");
}

TEST_F(GoldenListControls, ComboBoxesClosedAndDropped) {
  HWND host = MakeStrip(3 * 124 + 4, 30);
  auto combo = [&](int x) {
    HWND made = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, x, 4, 120,
                                100, host, nullptr, nullptr, nullptr);
    Fill(made, CB_ADDSTRING, 8);
    SendMessageA(made, CB_SETCURSEL, 1, 0);
    return made;
  };
  combo(4);
  HWND disabled = combo(128);
  HWND focused = combo(252);
  EnableWindow(disabled, FALSE);
  SetFocus(focused);
  Pump();
  EXPECT_EQ(CompareWindowWithGolden(host, "combo_box_states"), "");
  SendMessageA(focused, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  HWND list = GetCapture();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(CompareWindowWithGolden(list, "combo_box_dropped"), "");
  SendMessageA(focused, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
}  // namespace vel::platform::usertest

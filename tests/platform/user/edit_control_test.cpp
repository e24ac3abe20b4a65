#include <gtest/gtest.h>

#include "platform/user/edit_state.h"
#include "tests/platform/user/control_test_support.h"

// The single-line edit control driven by keys, the mouse and its messages: typing within the
// limit and the style's filters, selection, the clipboard, undo and the notifications.

namespace vel::platform::usertest {
namespace {

class EditControl : public ControlTest {
 protected:
  // Clicks of one test must not pair with the next test's into double clicks.
  void TearDown() override {
    Display().AdvanceClock(1000);
    ControlTest::TearDown();
  }
  void SetUp() override {
    ControlTest::SetUp();
    host = MakeHost(WS_POPUP | WS_VISIBLE, 50, 50, 300, 120);
  }
  HWND MakeEdit(DWORD style = ES_AUTOHSCROLL, const char* text = "", int width = 150) {
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10,
                                width, 22, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)), nullptr, nullptr);
    SetFocus(edit);
    Pump();
    Host().commands.clear();
    return edit;
  }
  static std::string Text(HWND edit) {
    char buffer[256] = {};
    GetWindowTextA(edit, buffer, sizeof buffer);
    return buffer;
  }
  static std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  int Count(int code) {
    int count = 0;
    for (const auto& [id, notification] : Host().commands) count += (id == 5 && notification == code) ? 1 : 0;
    return count;
  }
  HWND host = nullptr;
};

TEST_F(EditControl, TypingEditingAndCaretKeys) {
  HWND edit = MakeEdit();
  Display().TypeText("hello world");
  Pump();
  EXPECT_EQ(Text(edit), "hello world");
  EXPECT_EQ(Count(EN_CHANGE), 11);
  EXPECT_EQ(Count(EN_UPDATE), 11);
  Display().PressKey(VK_LEFT, kControl);
  Display().PressKey(VK_BACK);
  Pump();
  EXPECT_EQ(Text(edit), "helloworld");
  Display().PressKey(VK_HOME);
  Display().PressKey(VK_DELETE);
  Display().PressKey(VK_END);
  Display().TypeText("!");
  Pump();
  EXPECT_EQ(Text(edit), "elloworld!");
  // Shift with the caret keys selects; typing replaces the selection.
  Display().PressKey(VK_LEFT, kShift);
  Display().PressKey(VK_LEFT, kShift);
  Pump();
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{8}, DWORD{10}));
  Display().TypeText("D");
  Pump();
  EXPECT_EQ(Text(edit), "elloworlD");
  EXPECT_EQ(SendMessageA(edit, EM_GETMODIFY, 0, 0), TRUE);
}

TEST_F(EditControl, LimitFiltersAndReadOnly) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_NUMBER);
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 3);
  Display().TypeText("1a2345");
  Pump();
  EXPECT_EQ(Text(edit), "123");
  EXPECT_GE(Count(EN_MAXTEXT), 1);
  // The limit binds the user, not the program.
  SetWindowTextA(edit, "123456");
  EXPECT_EQ(Text(edit), "123456");

  HWND upper = MakeEdit(ES_AUTOHSCROLL | ES_UPPERCASE);
  Display().TypeText("abc");
  Pump();
  EXPECT_EQ(Text(upper), "ABC");
  SendMessageA(upper, EM_SETREADONLY, TRUE, 0);
  Display().TypeText("d");
  Display().PressKey(VK_BACK);
  Pump();
  EXPECT_EQ(Text(upper), "ABC");
  EXPECT_TRUE(GetWindowLongPtrA(upper, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditControl, SelectionMessagesAndSelectAllOnTabbingIn) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "abcdef");
  SendMessageA(edit, EM_SETSEL, 4, 1);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{1}, DWORD{4}));
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{6}));
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(edit).first, Selection(edit).second);
  SendMessageA(edit, EM_SETSEL, 2, 99);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{6}));
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("XY"));
  EXPECT_EQ(Text(edit), "abXY");
  EXPECT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0));
  SendMessageA(edit, EM_UNDO, 0, 0);
  EXPECT_EQ(Text(edit), "abcdef");

  // The dialog manager's select-all before the focus arrives waits for it.
  HWND other = MakeEdit(ES_AUTOHSCROLL, "second");
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(GetFocus(), other);
  SetFocus(edit);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{6}));
  EXPECT_GE(Count(EN_SETFOCUS), 1);
}

TEST_F(EditControl, ClipboardKeysAndMessages) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "copy me");
  SendMessageA(edit, EM_SETSEL, 0, 4);
  Display().PressKey('C', kControl);
  Display().PressKey(VK_END);
  Display().PressKey('V', kControl);
  Pump();
  EXPECT_EQ(Text(edit), "copy mecopy");
  SendMessageA(edit, EM_SETSEL, 0, 5);
  SendMessageA(edit, WM_CUT, 0, 0);
  EXPECT_EQ(Text(edit), "mecopy");
  Display().PressKey(VK_INSERT, kShift);
  Pump();
  EXPECT_EQ(Text(edit), "copy mecopy");
  Display().PressKey('Z', kControl);
  Pump();
  EXPECT_EQ(Text(edit), "mecopy");
  // A password control never gives its text away.
  HWND secret = MakeEdit(ES_AUTOHSCROLL | ES_PASSWORD, "hidden");
  SendMessageA(secret, EM_SETSEL, 0, -1);
  SendMessageA(secret, WM_COPY, 0, 0);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), "copy ");
  EXPECT_EQ(SendMessageA(secret, EM_GETPASSWORDCHAR, 0, 0), '*');
}

TEST_F(EditControl, MouseSelectsAndLongTextScrollsOnlyWithAutoScroll) {
  HWND edit = MakeEdit(ES_AUTOHSCROLL, "one two three");
  Display().DoubleClick(ScreenPoint(edit, 30, 8));
  Pump();
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{4}, DWORD{7}));
  Display().AdvanceClock(1000);
  Display().MouseDown(ScreenPoint(edit, 1, 8));
  Display().MoveMouse(ScreenPoint(edit, 140, 8));
  Display().MouseUp(ScreenPoint(edit, 140, 8));
  Pump();
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{13}));

  std::string longText(60, 'w');
  Display().PressKey(VK_END);
  Display().TypeText(longText);
  Pump();
  EXPECT_EQ(Text(edit).size(), 73u);
  EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

  HWND fixed = MakeEdit(ES_LEFT, "", 60);
  Display().TypeText(longText);
  Pump();
  EXPECT_LT(Text(fixed).size(), longText.size());
  EXPECT_GT(Text(fixed).size(), 0u);
}

TEST(EditState, ReplaceSelectionKeepsTheLimitAndUndoSwapsBack) {
  EditState state;
  state.limit = 5;
  EXPECT_TRUE(state.ReplaceSelection("abc"));
  EXPECT_FALSE(state.ReplaceSelection("defg"));
  EXPECT_EQ(state.text, "abcde");
  state.anchor = 1;
  state.caret = 3;
  EXPECT_TRUE(state.ReplaceSelection("Z"));
  EXPECT_EQ(state.text, "aZde");
  EXPECT_EQ(state.caret, 2u);
  state.Undo();
  EXPECT_EQ(state.text, "abcde");
  EXPECT_EQ(state.WordLeft(5), 0u);
  state.text = "ab  cd ef";
  EXPECT_EQ(state.WordRight(0), 4u);
  EXPECT_EQ(state.WordLeft(7), 4u);
}

}  // namespace
}  // namespace vel::platform::usertest

#include <gtest/gtest.h>

#include "tests/platform/user/control_test_support.h"
#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

// A dialog of the system dialog class whose WM_COMMAND messages are recorded through a dialog
// procedure.
std::vector<std::pair<int, HWND>> g_commands;
INT_PTR CALLBACK RecordCommands(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    g_commands.emplace_back(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
    return TRUE;
  }
  return FALSE;
}

class Dialog : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    g_commands.clear();
    dialog = CreateWindowExA(WS_EX_CONTROLPARENT, "#32770", "Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10,
                             400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(RecordCommands));
  }

  HWND Button(int id, DWORD style) {
    return CreateWindowExA(0, "Button", "b", WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 20, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  HWND Field(int id, DWORD style) { return MakeWindow(WS_CHILD | WS_VISIBLE | style, dialog, 0, 0, 50, 20, id); }

  // Sends a key through the dialog manager the way a message loop would.
  void Press(BYTE key, unsigned modifiers = kNoModifier) {
    Display().PressKey(key, modifiers);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }

  HWND dialog = nullptr;
};

TEST_F(Dialog, TabSkipsDisabledHiddenAndNonTabStopControlsAndWraps) {
  HWND first = Field(1, WS_TABSTOP | WS_GROUP);
  HWND disabled = Field(2, WS_TABSTOP | WS_DISABLED);
  HWND hidden = Field(3, WS_TABSTOP);
  ShowWindow(hidden, SW_HIDE);
  HWND noStop = Field(4, 0);
  HWND last = Field(5, WS_TABSTOP);
  (void)disabled;
  (void)noStop;
  SetFocus(first);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), last);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), first);
  Press(VK_TAB, kShift);
  EXPECT_EQ(GetFocus(), last);
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), first);
  EXPECT_EQ(GetNextDlgTabItem(dialog, last, TRUE), first);
  // Tab went to the dialog manager, not to the control (Shift itself did reach it).
  for (HWND control : {first, last}) {
    for (const auto& key : MessageLog::Find(control, WM_KEYDOWN)) EXPECT_NE(key.wParam, static_cast<WPARAM>(VK_TAB));
    EXPECT_TRUE(MessageLog::Find(control, WM_CHAR).empty());
  }
}

TEST_F(Dialog, ControlsThatWantKeysGetThem) {
  HWND first = Field(1, WS_TABSTOP);
  Field(2, WS_TABSTOP);
  OverrideAnswer(WM_GETDLGCODE, DLGC_WANTTAB | DLGC_WANTARROWS);
  SetFocus(first);
  Press(VK_TAB);
  Press(VK_DOWN);
  EXPECT_EQ(GetFocus(), first);
  EXPECT_EQ(MessageLog::Find(first, WM_KEYDOWN).size(), 2u);
}

TEST_F(Dialog, ArrowsMoveWithinAGroupAndWrapInsideIt) {
  HWND before = Field(1, WS_TABSTOP | WS_GROUP);
  HWND radioA = Button(10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
  HWND radioB = Button(11, BS_AUTORADIOBUTTON);
  HWND radioC = Button(12, BS_AUTORADIOBUTTON);
  HWND after = Field(2, WS_TABSTOP | WS_GROUP);
  (void)before;
  (void)after;
  SetFocus(radioA);
  Press(VK_DOWN);
  EXPECT_EQ(GetFocus(), radioB);
  // Moving onto an automatic radio button selects it and clears the others of the group.
  EXPECT_EQ(SendMessageA(radioB, BM_GETCHECK, 0, 0), BST_CHECKED);
  Press(VK_DOWN);
  Press(VK_DOWN);
  EXPECT_EQ(GetFocus(), radioA);
  EXPECT_EQ(SendMessageA(radioA, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(radioB, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  Press(VK_UP);
  EXPECT_EQ(GetFocus(), radioC);
  EXPECT_EQ(GetNextDlgGroupItem(dialog, radioC, FALSE), radioA);
}

TEST_F(Dialog, EnterClicksTheFocusedButtonOrElseTheDefaultAndEscapeCancels) {
  HWND field = Field(100, WS_TABSTOP);
  HWND ok = Button(IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP);
  HWND other = Button(7, BS_PUSHBUTTON | WS_TABSTOP);
  HWND cancel = Button(IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP);
  (void)ok;
  SetFocus(field);
  Press(VK_RETURN);
  ASSERT_EQ(g_commands.size(), 1u);
  EXPECT_EQ(g_commands[0].first, IDOK);

  SendMessageA(dialog, DM_SETDEFID, 7, 0);
  EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(7, DC_HASDEFID));
  Press(VK_RETURN);
  EXPECT_EQ(g_commands.back().first, 7);
  EXPECT_EQ(g_commands.back().second, other);

  // A push button the dialog manager gave the focus has the default look and is pressed...
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cancel), TRUE);
  Press(VK_RETURN);
  EXPECT_EQ(g_commands.back().first, IDCANCEL);
  // ...one focused directly is not the default: Enter asks the dialog for its default button.
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  SetFocus(cancel);
  Press(VK_RETURN);
  EXPECT_EQ(g_commands.back().first, 7);
  EXPECT_EQ(g_commands.back().second, other);
  SetFocus(field);
  Press(VK_ESCAPE);
  EXPECT_EQ(g_commands.back().first, IDCANCEL);
  EXPECT_EQ(g_commands.back().second, cancel);
  EXPECT_EQ(g_commands.size(), 5u);
  // A disabled default button is not pressed.
  EnableWindow(other, FALSE);
  Press(VK_RETURN);
  EXPECT_EQ(g_commands.size(), 5u);
}

// A window of an ordinary class (not the dialog class) answers DM_GETDEFID with 0, as
// DefWindowProc does: Enter on a plain push button then sends IDOK.
TEST_F(Dialog, EnterOnAPlainPushButtonAsksForTheDefaultAndElseSendsIdOk) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND button =
      CreateWindowExA(0, "Button", "b", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 50, 20,
                      window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(101)), nullptr, nullptr);
  SetActiveWindow(window);
  SetFocus(button);
  Pump();
  MessageLog::Clear();
  Display().PressKey(VK_RETURN);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageA(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  EXPECT_THAT(MessageLog::Tagged({{window, "window"}}, {DM_GETDEFID, WM_COMMAND}),
              ElementsAre(MessageName(DM_GETDEFID) + "@window", "WM_COMMAND@window"));
  std::vector<LoggedMessage> commands = MessageLog::Find(window, WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, MAKEWPARAM(IDOK, BN_CLICKED));
  EXPECT_EQ(commands[0].lParam, 0);
}

TEST_F(Dialog, TheDefaultButtonLookFollowsTheFocusAndDmSetDefId) {
  HWND field = Field(100, WS_TABSTOP);
  HWND ok = Button(IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP);
  HWND other = Button(7, BS_PUSHBUTTON | WS_TABSTOP);
  auto type = [](HWND button) { return GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK; };
  SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(type(ok), BS_DEFPUSHBUTTON);
  // A focused push button takes the default look from the default button...
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(other), TRUE);
  EXPECT_EQ(type(other), BS_DEFPUSHBUTTON);
  EXPECT_EQ(type(ok), BS_PUSHBUTTON);
  // ...and gives it back when the focus goes to something that is not a push button.
  SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(type(other), BS_PUSHBUTTON);
  EXPECT_EQ(type(ok), BS_DEFPUSHBUTTON);
  SendMessageA(dialog, DM_SETDEFID, 7, 0);
  EXPECT_EQ(type(other), BS_DEFPUSHBUTTON);
  EXPECT_EQ(type(ok), BS_PUSHBUTTON);
  EXPECT_EQ(SendMessageA(ok, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
}

TEST_F(Dialog, ActivationRestoresTheControlThatHadTheFocus) {
  Field(1, WS_TABSTOP);
  HWND second = Field(2, WS_TABSTOP);
  HWND elsewhere = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 500, 10);
  SetActiveWindow(dialog);
  SetFocus(second);
  SetActiveWindow(elsewhere);
  EXPECT_EQ(GetFocus(), elsewhere);
  SetActiveWindow(dialog);
  EXPECT_EQ(GetFocus(), second);
  // Closing the dialog asks for IDCANCEL instead of destroying it.
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(IsWindow(dialog));
  ASSERT_FALSE(g_commands.empty());
  EXPECT_EQ(g_commands.back().first, IDCANCEL);
}

TEST_F(Dialog, ButtonsClickWithMouseAndSpaceAndNotifyTheirParent) {
  HWND button = Button(42, BS_PUSHBUTTON | WS_TABSTOP);
  HWND check = Button(43, BS_AUTOCHECKBOX | WS_TABSTOP);
  SetWindowPos(check, nullptr, 100, 0, 50, 20, SWP_NOZORDER);
  POINT inButton{5, 5};
  ClientToScreen(button, &inButton);
  Display().Click(inButton);
  Pump();
  EXPECT_EQ(GetFocus(), button);
  ASSERT_EQ(g_commands.size(), 1u);
  EXPECT_EQ(g_commands[0].first, 42);
  // Pressing and moving off before releasing is no click.
  Display().AdvanceClock(1000);
  Display().MouseDown(inButton);
  Pump();
  Display().MouseUp({inButton.x + 300, inButton.y});
  Pump();
  EXPECT_EQ(g_commands.size(), 1u);
  EXPECT_EQ(GetCapture(), nullptr);
  SetFocus(check);
  Press(VK_SPACE);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(g_commands.back().first, 43);
}

// A class with no background brush whose procedure is the dialog default, as a runtime window's
// client is; the brush its dialog procedure answers WM_CTLCOLORDLG with paints it.
HBRUSH g_dialogBrush = nullptr;
INT_PTR CALLBACK ColourDialog(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_CTLCOLORDLG && g_dialogBrush != nullptr) return reinterpret_cast<INT_PTR>(g_dialogBrush);
  return FALSE;
}
LRESULT CALLBACK PlainDialogProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcA(hWnd, message, wParam, lParam);
}

TEST_F(Dialog, TheBackgroundIsTheBrushTheDialogAnswersOrTheButtonFace) {
  WNDCLASSA description{};
  description.lpfnWndProc = PlainDialogProcedure;
  description.cbWndExtra = DLGWINDOWEXTRA;
  description.lpszClassName = "BrushlessDialogTest";
  RegisterClassA(&description);
  HWND plain = CreateWindowExA(0, "BrushlessDialogTest", "", WS_POPUP | WS_VISIBLE, 20, 20, 60, 40, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(plain, nullptr);
  Pump();
  EXPECT_EQ(WindowPixel(plain, 30, 20), GetSysColor(COLOR_BTNFACE));

  g_dialogBrush = CreateSolidBrush(RGB(200, 10, 10));
  HWND coloured = CreateWindowExA(0, "BrushlessDialogTest", "", WS_POPUP | WS_VISIBLE, 100, 20, 60, 40, nullptr,
                                  nullptr, nullptr, nullptr);
  SetWindowLongPtrA(coloured, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(ColourDialog));
  InvalidateRect(coloured, nullptr, TRUE);
  Pump();
  EXPECT_EQ(WindowPixel(coloured, 30, 20), RGB(200, 10, 10));
  DestroyWindow(coloured);
  DestroyWindow(plain);
  DeleteObject(g_dialogBrush);
  g_dialogBrush = nullptr;
  UnregisterClassA("BrushlessDialogTest", nullptr);
}

}  // namespace
}  // namespace vel::platform::usertest
